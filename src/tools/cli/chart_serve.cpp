#include "cli/chart_serve.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <deque>
#include <mutex>
#include <optional>

#include "cli/chart_printout.h"
#include "cli/commands.h"
#include "cli/terminal_text.h"
#include "render/history_layer.h"
#include "platform/posix/posix_services.h"
#include "render/chart_pictures.h"
#include "web/page_changes.h"
#include "web/page_frame.h"
#include "web/page_server.h"

namespace cli {
namespace {

using Steady = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kCallInterval{1000};
// How long the loop waits for a signal between looks at the page's changes.
constexpr long kLoopWaitNanoseconds = 20'000'000;

// The session as the page and the loop share it; every member is guarded by `mutex`.
struct SharedChart {
  std::mutex mutex;
  ChartSession& session;
  ChartHistory& history;
  std::deque<host::PointerEvent> presses;
  bool changed = false;  // a settings or view change waits for the study's next call
  long long edits = 0;   // counts the page's changes, so that a frame follows each
  bool closed = false;   // the run is ending: the page's changes are refused
  int width = 0;         // the picture's size, as the page last asked for it
  int height = 0;
};

const web::Reply kClosedReply{503, "the chart is closing"};

// What the page last saw, to tell whether a new frame is worth sending.
struct Shown {
  std::vector<host::DrawingRequest> drawings;
  host::BarRange visible{0, -1};
  int barSpacing = 0;
  size_t barCount = 0;
  size_t logSize = 0;
  long long edits = -1;
  std::optional<web::LevelsAnswerSeen> lastAnswer;
  long long historyChanges = 0;
};

// The latest answered levels transfer, to notice each new answer.
struct AnswerKey {
  double sentAt = -1;
  std::string url;
  bool operator==(const AnswerKey&) const = default;
};

web::ChangeHandlers Handlers(SharedChart& shared) {
  web::ChangeHandlers handlers;
  handlers.press = [&shared](const web::FormFields& fields) {
    std::lock_guard lock(shared.mutex);
    if (shared.closed) return kClosedReply;
    host::PointerEvent press;
    web::Reply reply = web::ReadPress(fields, shared.width, shared.height, &press);
    if (reply.status != 200) return reply;
    shared.presses.push_back(press);
    ++shared.edits;
    return reply;
  };
  const auto change = [&shared](auto apply) {
    return [&shared, apply](const web::FormFields& fields) {
      std::lock_guard lock(shared.mutex);
      if (shared.closed) return kClosedReply;
      web::Reply reply = apply(shared.session.Host(), fields);
      if (reply.status == 200) {
        shared.changed = true;
        ++shared.edits;
      }
      return reply;
    };
  };
  handlers.input = change([](chart::ChartHost& host, const web::FormFields& f) {
    return web::ApplyInputChange(host.Inputs(), f);
  });
  handlers.colour = change([](chart::ChartHost& host, const web::FormFields& f) {
    return web::ApplyColourChange(host.Subgraphs(), f);
  });
  handlers.view = change(
      [](chart::ChartHost& host, const web::FormFields& f) { return web::ApplyViewChange(host.Chart(), f); });
  // As on the platform, a resized chart window gives the study a new region on its next call.
  handlers.size = change([&shared](chart::ChartHost& host, const web::FormFields& f) {
    int width = 0;
    int height = 0;
    web::Reply reply = web::ReadChartSize(f, &width, &height);
    if (reply.status != 200) return reply;
    ResizeChartToPicture(&host.Chart(), width, height);
    shared.width = width;
    shared.height = height;
    return reply;
  });
  handlers.history = [&shared](const web::FormFields& fields) {
    const std::optional<std::string> on = web::FormValue(fields, "on");
    if (!on || (*on != "0" && *on != "1")) return web::Reply{400, "on must be 0 or 1"};
    std::lock_guard lock(shared.mutex);
    if (shared.closed) return kClosedReply;
    shared.history.SetOn(*on == "1");
    shared.changed = true;
    ++shared.edits;
    return web::Reply{};
  };
  return handlers;
}

std::optional<AnswerKey> LatestLevelsAnswer(const ChartSession& session, long* status) {
  const std::vector<transport::TransferRecord> transfers = session.Transport().Transfers();
  for (auto it = transfers.rbegin(); it != transfers.rend(); ++it) {
    if (RoleOfUrl(it->request.url) != RequestRole::kLevels ||
        it->outcome != transport::TransferOutcome::kAnswered)
      continue;
    *status = it->httpStatus;
    return AnswerKey{it->request.time, it->request.url};
  }
  return std::nullopt;
}

class ServeLoop {
 public:
  ServeLoop(const ChartOptions& options, SharedChart& shared, web::PageServer& server,
            std::vector<chart::Bar> heldBack)
      : options_(options),
        shared_(shared),
        server_(server),
        heldBack_(heldBack.begin(), heldBack.end()),
        pace_(PaceOf(options)) {}

  // One turn: bars that are due, presses, calls, and a frame when the page would see a change.
  void Turn() {
    const Steady::time_point now = Steady::now();
    std::unique_lock lock(shared_.mutex);
    ChartSession& session = shared_.session;
    bool call = shared_.changed || now >= nextCall_;
    shared_.changed = false;
    if (pace_ > 0 && !heldBack_.empty() && now >= nextBar_) {
      chart::AppendBars(&session.Host().Chart(), {heldBack_.front()});
      heldBack_.pop_front();
      nextBar_ = now + std::chrono::duration_cast<Steady::duration>(std::chrono::duration<double>(pace_));
      call = true;
    }
    const bool pressed = !shared_.presses.empty();
    while (!shared_.presses.empty()) {
      session.Call(shared_.presses.front());
      shared_.presses.pop_front();
    }
    if (call) {
      session.Call();
      nextCall_ = now + kCallInterval;
    }
    // Nothing was called this turn, so nothing the page shows can have changed.
    if (!call && !pressed) return;
    NoteLevelsAnswer();
    PrintNewLog();
    NoteHistory(now);
    if (!ChangedSinceShown()) return;
    const std::optional<render::HistoryLayer> layer = shared_.history.Layer(session.Host());
    web::FrameFacts facts{++version_, shared_.width, shared_.height, session.Host().Now(), lastAnswer_};
    facts.history = layer ? &*layer : nullptr;
    facts.historyOn = shared_.history.On();
    facts.historyStatus = shared_.history.Status();
    std::string frame = web::FrameJson(session.Host(), facts, platform::DefaultServices());
    const bool redrawn = WritePicturesIfAsked(facts.history);
    lock.unlock();
    server_.Publish(std::move(frame));
    if (redrawn) std::fflush(stdout);
  }

 private:
  void NoteLevelsAnswer() {
    long status = 0;
    const std::optional<AnswerKey> key = LatestLevelsAnswer(shared_.session, &status);
    if (!key || *key == lastAnswerKey_) return;
    lastAnswerKey_ = *key;
    lastAnswer_ = web::LevelsAnswerSeen{shared_.session.Host().Now(), status};
  }

  // Takes a finished history fetch (and asks again when the day moved on); says so on the terminal.
  void NoteHistory(Steady::time_point now) {
    const double seconds = std::chrono::duration<double>(now.time_since_epoch()).count();
    if (!shared_.history.Update(shared_.session.Host(), seconds)) return;
    ++historyChanges_;
    PrintLine(stdout, shared_.history.Status());
  }

  void PrintNewLog() {
    const std::vector<chart::LogEntry>& log = shared_.session.Host().Log();
    for (; logPrinted_ < log.size(); ++logPrinted_) PrintLine(stdout, "log: " + log[logPrinted_].text);
    std::fflush(stdout);
  }

  // True (and remembered) when the drawings, the view, the bars, the log, the page's own
  // changes or the last answer differ from what the page last got.
  bool ChangedSinceShown() {
    const chart::ChartHost& host = shared_.session.Host();
    const chart::ChartData& chart = host.Chart();
    Shown now;
    now.drawings = host.Drawings().Sorted();
    now.visible = chart.visible;
    now.barSpacing = chart.barSpacing;
    now.barCount = chart.bars.size();
    now.logSize = host.Log().size();
    now.edits = shared_.edits;
    now.lastAnswer = lastAnswer_;
    now.historyChanges = historyChanges_;
    const bool same = now.historyChanges == shown_.historyChanges &&
                      SameDrawings(now.drawings, shown_.drawings) &&
                      now.visible.first == shown_.visible.first && now.visible.last == shown_.visible.last &&
                      now.barSpacing == shown_.barSpacing && now.barCount == shown_.barCount &&
                      now.logSize == shown_.logSize && now.edits == shown_.edits &&
                      now.lastAnswer.has_value() == shown_.lastAnswer.has_value() &&
                      (!now.lastAnswer || now.lastAnswer->time == shown_.lastAnswer->time);
    if (same) return false;
    shown_ = std::move(now);
    return true;
  }

  bool WritePicturesIfAsked(const render::HistoryLayer* history) {
    if (!options_.outGiven) return false;
    const std::string base = PictureBase(options_.out);
    const chart::ChartHost& host = shared_.session.Host();
    std::string error;
    if (!render::WriteChartPictures(host.Chart(), host.Drawings().Sorted(), shared_.width, shared_.height,
                                    base + ".png", base + ".svg", &error, history)) {
      PrintLine(stderr, "ordinel chart: " + error);
      return false;
    }
    std::fprintf(stdout, "redrawn: wrote %s.png and %s.svg\n", base.c_str(), base.c_str());
    return true;
  }

  const ChartOptions& options_;
  SharedChart& shared_;
  web::PageServer& server_;
  std::deque<chart::Bar> heldBack_;
  const double pace_;
  Steady::time_point nextCall_ = Steady::now();
  Steady::time_point nextBar_ =
      Steady::now() + std::chrono::duration_cast<Steady::duration>(std::chrono::duration<double>(pace_));
  long long version_ = 0;
  Shown shown_;
  AnswerKey lastAnswerKey_;
  std::optional<web::LevelsAnswerSeen> lastAnswer_;
  size_t logPrinted_ = 0;
  long long historyChanges_ = 0;
};

}  // namespace

double PaceOf(const ChartOptions& options) {
  if (options.paceSeconds >= 0) return options.paceSeconds;
  return options.barsFile.empty() ? kBundledBarsPace : 0;
}

std::vector<chart::Bar> HoldBackForPace(chart::ChartData* chart, double pace) {
  if (!(pace > 0) || chart->bars.size() < 2) return {};
  const size_t keep =
      std::max<size_t>(1, static_cast<size_t>(std::floor(chart->bars.size() * kPacedStartShare)));
  std::vector<chart::Bar> rest(chart->bars.begin() + static_cast<std::ptrdiff_t>(keep), chart->bars.end());
  chart->bars.resize(keep);
  return rest;
}

int ServeChart(const ChartOptions& options, ChartSession& session, ChartHistory& history,
               std::vector<chart::Bar> heldBack, const sigset_t& stopSignals,
               const std::function<int()>& saveOnStop) {
  SharedChart shared{{}, session, history, {}, false, 0, false, options.width, options.height};
  web::PageServer server(Handlers(shared));
  std::string error;
  if (!server.Start(options.port, &error)) {
    std::fprintf(stderr, "ordinel chart: %s (another program may use the port; --port 0 takes a free one)\n",
                 error.c_str());
    return kExitInvalid;
  }
  ServeLoop loop(options, shared, server, std::move(heldBack));
  loop.Turn();
  std::fprintf(stdout, "Serving the chart at %s (open it in a browser; Ctrl-C ends).\n",
               server.Address().c_str());
  std::fflush(stdout);
  const timespec wait{0, kLoopWaitNanoseconds};
  while (sigtimedwait(&stopSignals, nullptr, &wait) < 0) loop.Turn();
  // Saved before the server stops, so that no client can hold the save back; every change the
  // page was told it made is in it, and none comes after.
  {
    std::lock_guard lock(shared.mutex);
    shared.closed = true;
  }
  loop.Turn();
  int status = kExitOk;
  {
    std::lock_guard lock(shared.mutex);
    status = saveOnStop();
  }
  server.Stop();
  return status;
}

}  // namespace cli
