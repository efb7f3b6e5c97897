#include "study/fetch_cycle.h"

#include <string_view>

#include "context/fear_chart_readers.h"
#include "json/json_document.h"
#include "payload/answer_translation.h"
#include "research/research_response.h"
#include "text/format.h"

namespace study {
namespace {

constexpr const char* kVixPath = "/v8/finance/chart/%5EVIX?interval=1d&range=5d";
constexpr const char* kQqqPath = "/v8/finance/chart/QQQ?interval=1d&range=1mo";
constexpr size_t kReplyExcerptBytes = 240;

void Verbose(host::StudyHost& sc, const CallInputs& in, const std::string& text) {
  if (in.verbose) sc.LogMessage(text, false);
}

// The first bytes of a reply with everything outside printable ASCII blanked, for the log.
std::string ReplyExcerpt(std::string_view body) {
  std::string excerpt(body.substr(0, kReplyExcerptBytes));
  for (char& c : excerpt) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte > 126) c = ' ';
  }
  return excerpt;
}

// ---- A: answer or timeout -------------------------------------------------------------

// Returns true when the slot was emptied by a timeout (sending may follow in this call).
bool HandleTimeout(InstanceState& state, const CallInputs& in, double now) {
  if (now - state.pending.timeSent <= state.pending.timeout) return false;
  const int step = state.pending.step;
  state.pending = RequestSlot{};
  if (step == kStepVix) state.nextVixFetch = now + kChartRefreshPeriod;
  if (step == kStepQqq) state.nextQqqFetch = now + kChartRefreshPeriod;
  if (step == kStepLevels) {
    state.errorLine =
        "Live levels are taking longer than usual. Retrying - your last levels stay on the chart.";
    state.nextLevelsFetch = now + in.refreshInterval;
  }
  return true;
}

// Every answer that cannot be read retries the same way: levels soon, the charts later.
void ScheduleUnreadableRetry(InstanceState& state, double now) {
  state.nextLevelsFetch = now + kUnreadableRetryDelay;
  state.nextVixFetch = now + kChartRefreshPeriod;
  state.nextQqqFetch = now + kChartRefreshPeriod;
}

void HandleNotJson(host::StudyHost& sc, InstanceState& state, int step, const std::string& body, double now) {
  sc.LogMessage(text::Format("Ordinel: step %d answered %d bytes that are not JSON. Start of the reply: %s",
                             step, static_cast<long long>(body.size()), ReplyExcerpt(body)),
                true);
  state.errorLine = "API response was not valid JSON - see the Message Log for what came back. Retrying.";
  ScheduleUnreadableRetry(state, now);
}

void HandleTooLarge(host::StudyHost& sc, InstanceState& state, int step, size_t bytes, double now) {
  sc.LogMessage(text::Format("Ordinel: step %d answered %d bytes, more than the %d the study reads; "
                             "nothing of it was read.",
                             step, static_cast<long long>(bytes), static_cast<long long>(kMaxAnswerBytes)),
                true);
  state.errorLine = kAnswerTooLargeError;
  ScheduleUnreadableRetry(state, now);
}

void HandleOutOfMemory(host::StudyHost& sc, InstanceState& state, int step, size_t bytes, double now) {
  sc.LogMessage(text::Format("Ordinel: step %d answered %d bytes that could not be read: out of memory.",
                             step, static_cast<long long>(bytes)),
                true);
  state.errorLine = kAnswerOutOfMemoryError;
  ScheduleUnreadableRetry(state, now);
}

// Until the answer is handled the timers say "retry as for an unreadable answer", so an answer
// whose handling fails half-way (memory) is dropped and retried, never read again and again.
void PresetRetryTimers(InstanceState& state, int step, double now) {
  if (step == kStepLevels) state.nextLevelsFetch = now + kUnreadableRetryDelay;
  if (step == kStepVix) state.nextVixFetch = now + kChartRefreshPeriod;
  if (step == kStepQqq) state.nextQqqFetch = now + kChartRefreshPeriod;
}

// ---- B: levels answer ------------------------------------------------------------------

void AcceptLevels(host::StudyHost& sc, InstanceState& state, payload::LevelsAnswer&& answer,
                  const CallInputs& in, double now) {
  state.snapshot = std::move(answer.snapshot);
  const std::string alert =
      research::RecordLiveCapture(&state.research.view, std::move(answer.live), state.apiSymbol,
                                  in.structuralAlerts, in.alertCooldown, sc.TickSize(), now * 1000);
  if (!alert.empty()) sc.RaiseAlert(host::kStudyAlertNumber, sc.AlertBarIndex(), alert);
  state.errorLine.clear();
  state.redraw = true;
  state.nextLevelsFetch = now + in.refreshInterval;
  const bool legacy = in.selection.mode == calendar::kExpiryLegacy;
  const std::string& via = state.snapshot.resolvedSymbol;
  state.statusLine = text::Format(legacy ? "Levels loaded%s%s." : "Captured delayed OI loaded%s%s.",
                                  via.empty() ? "" : " via ", via);
}

void HandleLevelsAnswer(host::StudyHost& sc, InstanceState& state, json::Node root, const CallInputs& in,
                        double now) {
  payload::AnswerExpectations expect;
  expect.spxSourceRequired = state.apiSymbol == "ES" && in.esSourceIndex == 1;
  expect.selection = &in.selection;
  expect.topStrikesCount = in.topStrikesCount;
  expect.modelZeroGammaAsFlip = in.modelZeroGammaAsFlip;
  payload::LevelsAnswer answer;
  std::string failure;
  if (payload::TranslateLevelsAnswer(root, expect, &answer, &failure)) {
    AcceptLevels(sc, state, std::move(answer), in, now);
    return;
  }
  state.errorLine = failure;
  state.nextLevelsFetch = now + in.refreshInterval;
}

void HandleChartAnswer(InstanceState& state, int step, json::Node root, double now) {
  double value = 0;
  if (step == kStepVix) {
    if (context::VixFromChart(root, &value)) {
      state.vixLevel = {true, value};
      state.redraw = true;
    }
    state.nextVixFetch = now + kChartRefreshPeriod;
  } else {
    if (context::RealizedVolFromChart(root, &value)) {
      state.qqqRealizedVol = {true, value};
      state.redraw = true;
    }
    state.nextQqqFetch = now + kChartRefreshPeriod;
  }
}

// Returns true when the slot is empty afterwards and sending may run in this call.
bool HandlePendingAnswer(host::StudyHost& sc, InstanceState& state, const CallInputs& in, double now) {
  const std::string body = sc.HttpResponseBody();
  if (body.empty()) return HandleTimeout(state, in, now);

  const int step = state.pending.step;
  const std::string sentKey = std::move(state.pending.fetchKey);
  state.pending = RequestSlot{};
  PresetRetryTimers(state, step, now);
  if (body.size() > kMaxAnswerBytes) {
    HandleTooLarge(sc, state, step, body.size(), now);
    return true;
  }
  const json::ParseResult reading = state.answerDocument.Parse(body);
  const bool parsed = reading == json::ParseResult::kParsed;
  Verbose(sc, in,
          text::Format("Ordinel: response for step %d, %d bytes, parsed=%d", step,
                       static_cast<long long>(body.size()), parsed ? 1 : 0));
  const json::Node root = state.answerDocument.Root();
  if (step == kStepLevels && sentKey != state.fetchKey) {
    state.nextLevelsFetch = 0;  // the inputs changed while it was in flight
  } else if (reading == json::ParseResult::kOutOfMemory) {
    HandleOutOfMemory(sc, state, step, body.size(), now);
  } else if (!parsed) {
    HandleNotJson(sc, state, step, body, now);
  } else if (step == kStepLevels) {
    HandleLevelsAnswer(sc, state, root, in, now);
  } else {
    HandleChartAnswer(state, step, root, now);
  }
  // The tree views `body`, which ends here; what was kept of the answer holds copies.
  state.answerDocument.Clear();
  state.answerDocument.TrimMemory(kKeptAnswerDocumentBytes);
  return true;
}

// ---- C: sending ------------------------------------------------------------------------

void SendLevelsRequest(host::StudyHost& sc, InstanceState& state, const CallInputs& in, double now) {
  const std::string url = LevelsUrl(state.apiSymbol, in);
  const host::HttpHeaders headers = {
      {"Content-Type", "application/json"}, {"Accept", "application/json"}, {"User-Agent", kLevelsUserAgent}};
  if (sc.HttpRequestWithBody(url, "{}", headers)) {
    state.pending = RequestSlot{kStepLevels, now, kLevelsTimeoutSeconds, state.fetchKey};
    return;
  }
  state.errorLine =
      "Could not send the request to the Ordinel API - check that this Sierra Chart install allows "
      "outbound HTTPS for custom studies. Retrying.";
  state.nextLevelsFetch = now + kLevelsResendDelay;
}

void SendChartRequest(host::StudyHost& sc, InstanceState& state, int step, double now) {
  const std::string url = std::string(kChartServiceOrigin) + (step == kStepVix ? kVixPath : kQqqPath);
  if (sc.HttpRequest(url)) {
    state.pending = RequestSlot{step, now, kChartTimeoutSeconds, ""};
    return;
  }
  (step == kStepVix ? state.nextVixFetch : state.nextQqqFetch) = now + kChartResendDelay;
}

void SendDueRequest(host::StudyHost& sc, InstanceState& state, const CallInputs& in, double now) {
  if (IsHeldCapture(state.snapshot, in, now)) return;
  if (now >= state.nextLevelsFetch) {
    SendLevelsRequest(sc, state, in, now);
    return;
  }
  if (!in.fearScore) return;
  if (now >= state.nextVixFetch) {
    SendChartRequest(sc, state, kStepVix, now);
  } else if (now >= state.nextQqqFetch) {
    SendChartRequest(sc, state, kStepQqq, now);
  }
}

}  // namespace

bool IsHeldCapture(const payload::LevelsSnapshot& s, const CallInputs& in, double now) {
  return in.lockedMode && !in.extended && s.valid && s.locked && s.lockedRefreshAfterUnix > now &&
         s.lockedRefreshAfterUnix <= now + kHeldCaptureHorizon;
}

std::string LevelsUrl(const std::string& apiSymbol, const CallInputs& in) {
  const bool legacy = in.selection.mode == calendar::kExpiryLegacy;
  std::string url = text::Format("%s/extension/levels?symbol=%s%s%s&basis=%s", in.levelsOrigin, apiSymbol,
                                 in.lockedMode ? "&mode=locked" : "",
                                 in.extended && legacy ? "&extended=1" : "", in.basisToken);
  if (apiSymbol == "ES" && in.esSourceIndex == 1) url += "&source=SPX";
  return url + calendar::ExpiryQueryString(in.selection);
}

void RunRequestPhase(host::StudyHost& sc, InstanceState& state, const CallInputs& in, double now) {
  if (state.pending.step != kStepNone && !HandlePendingAnswer(sc, state, in, now)) return;
  SendDueRequest(sc, state, in, now);
}

}  // namespace study
