#include "cli/chart_session.h"

#include <thread>
#include <utility>

#include "text/format.h"

namespace cli {
namespace {

// Calls without any request before loading gives up on a study that never asks.
constexpr int kIdleCallLimit = 3;
// Beyond the study's own wait for a chart answer, so that it frees its request slot.
constexpr double kPastStudyTimeout = 61;
constexpr std::chrono::milliseconds kPollInterval{10};
constexpr std::chrono::milliseconds kWaitMargin{2000};

std::string Describe(const transport::TransferRecord& t) {
  switch (t.outcome) {
    case transport::TransferOutcome::kFailed: return t.error.empty() ? "the transfer failed" : t.error;
    case transport::TransferOutcome::kTooLarge: return "the answer was larger than the transport accepts";
    case transport::TransferOutcome::kRefused: return t.error.empty() ? "the request was refused" : t.error;
    default: return "no answer";
  }
}

bool SameRequest(const host::DrawingRequest& a, const host::DrawingRequest& b) {
  return a.lineNumber == b.lineNumber && a.kind == b.kind && a.beginBar == b.beginBar &&
         a.endBar == b.endBar && a.beginValue == b.beginValue && a.endValue == b.endValue &&
         a.colour == b.colour && a.fillColour == b.fillColour && a.width == b.width && a.style == b.style &&
         a.transparency == b.transparency && a.text == b.text && a.valueInPriceScale == b.valueInPriceScale &&
         a.fontSize == b.fontSize && a.bold == b.bold && a.fontFace == b.fontFace &&
         a.alignment == b.alignment && a.relativeVertical == b.relativeVertical;
}

}  // namespace

RequestRole RoleOfUrl(const std::string& url) {
  if (url.find("/extension/levels") != std::string::npos) return RequestRole::kLevels;
  if (url.find("/v8/finance/chart/%5EVIX") != std::string::npos) return RequestRole::kVix;
  if (url.find("/v8/finance/chart/QQQ") != std::string::npos) return RequestRole::kQqq;
  return RequestRole::kOther;
}

bool SameDrawings(const std::vector<host::DrawingRequest>& a, const std::vector<host::DrawingRequest>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (!SameRequest(a[i], b[i])) return false;
  }
  return true;
}

ChartSession::ChartSession(chart::ChartData chart, chart::StudyFunction study, chart::Clock& clock,
                           transport::CurlTransportOptions transport, platform::Services& services)
    : study_(study),
      clock_(clock),
      transferBound_(transport.connectTimeout + transport.transferTimeout + kWaitMargin),
      transport_(std::move(transport)),
      host_(std::move(chart), clock_, transport_, services) {}

void ChartSession::Declare() { host_.DeclarationCall(study_); }

void ChartSession::Call(host::PointerEvent pointer) { host_.OrdinaryCall(study_, pointer); }

void ChartSession::Remove() { host_.RemovalCall(study_); }

void ChartSession::Advance(double seconds) {
  if (auto* virtualClock = dynamic_cast<chart::VirtualClock*>(&clock_)) {
    virtualClock->Set(virtualClock->Now() + seconds);
  }
}

bool ChartSession::WaitForTransfer(transport::TransferRecord* last) {
  const auto deadline = std::chrono::steady_clock::now() + transferBound_;
  for (;;) {
    const std::vector<transport::TransferRecord> transfers = transport_.Transfers();
    if (!transfers.empty() && transfers.back().outcome != transport::TransferOutcome::kInFlight) {
      *last = transfers.back();
      return true;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      if (!transfers.empty()) *last = transfers.back();
      return false;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
}

LoadOutcome ChartSession::Settle(host::PointerEvent first, bool needLevels) {
  LoadOutcome out;
  int idle = 0;
  for (int call = 0; call < kMaxLoadCalls; ++call) {
    const size_t before = host_.Requests().size();
    host_.OrdinaryCall(study_, call == 0 ? first : host::PointerEvent{});
    if (host_.Requests().size() == before) {
      if (!needLevels || out.levelsAnswered || ++idle >= kIdleCallLimit) break;
      Advance(kLoadCallStep);
      continue;
    }
    transport::TransferRecord last;
    const bool ended = WaitForTransfer(&last);
    const bool answered = ended && last.outcome == transport::TransferOutcome::kAnswered;
    const std::string why =
        ended ? Describe(last)
              : text::Format("no answer within %d s", static_cast<int>(transferBound_.count() / 1000));
    const RequestRole role = RoleOfUrl(host_.Requests().back().url);
    // The study reads an empty body as no answer at all and waits for its own timeout.
    bool heard = answered;
    if (role == RequestRole::kLevels) {
      if (!answered) {
        out.levelsError = why;
        break;
      }
      out.levelsAnswered = true;
      out.levelsStatus = last.httpStatus;
      out.levelsEmpty = last.bodyBytes == 0;
      heard = !out.levelsEmpty;
    } else if (answered) {
      if (role == RequestRole::kVix) out.vixAnswered = true;
      if (role == RequestRole::kQqq) out.qqqAnswered = true;
    } else {
      out.notes.push_back(host_.Requests().back().url + ": " + why);
    }
    Advance(heard ? kLoadCallStep : kPastStudyTimeout);
  }
  return out;
}

LoadOutcome ChartSession::Load() { return Settle({}, true); }

bool ChartSession::Click(const std::string& text, std::string* error) {
  host::PointerEvent press;
  if (!chart::PressOnText(host_, text, &press)) {
    *error = "no text on the chart contains \"" + text + "\"";
    return false;
  }
  Advance(1);
  Settle(press, false);
  return true;
}

}  // namespace cli
