#include "cli/chart_command.h"

#include <signal.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>

#include "formats/bars_csv.h"
#include "formats/file_io.h"
#include "chart/study_library.h"
#include "cli/arguments.h"
#include "cli/chart_history.h"
#include "cli/chart_inputs.h"
#include "cli/chart_printout.h"
#include "cli/chart_sample_service.h"
#include "cli/chart_serve.h"
#include "cli/chart_session.h"
#include "cli/commands.h"
#include "cli/input_listing.h"
#include "cli/stop_signals.h"
#include "cli/terminal_text.h"
#include "chart/study_location.h"
#include "platform/posix/posix_services.h"
#include "render/chart_pictures.h"
#include "service/chain_levels.h"
#include "service/data_location.h"
#include "service/levels_service.h"
#include "study/call_inputs.h"
#include "study/fetch_cycle.h"
#include "text/format.h"
#include "transport/origin_route.h"

namespace cli {
namespace {

constexpr std::chrono::milliseconds kConnectTimeout{5000};
constexpr std::chrono::milliseconds kTransferTimeout{30000};

// Every line this command prints may quote the service, the study or a file: PrintLine keeps
// them text.
int Invalid(const std::string& message) {
  PrintLine(stderr, "ordinel chart: " + message);
  return kExitInvalid;
}

bool LoadChart(const ChartOptions& options, chart::ChartData* out, std::vector<chart::Bar>* heldBack,
               std::string* error) {
  const std::string path = options.barsFile.empty() ? DefaultBarsPath() : options.barsFile;
  std::string csv;
  std::string why;
  if (!formats::ReadFileWithin(path, formats::kMaxBarsFileBytes, &csv, &why)) {
    *error = "cannot read the bars file '" + path + "': " + why;
    return false;
  }
  if (!formats::ReadBarsCsv(csv, formats::BarRules::kChart, &out->bars, &why)) {
    *error = "the bars file '" + path + "': " + why;
    return false;
  }
  if (out->bars.empty()) {
    *error = "the bars file '" + path + "' holds no bars";
    return false;
  }
  out->symbol = options.symbol;
  out->tickSize = options.tickSize;
  if (options.serve) *heldBack = HoldBackForPace(out, PaceOf(options));
  FitChartToPicture(out, options.width, options.height);
  return true;
}

bool WritePictures(const ChartOptions& options, const chart::ChartHost& host, std::string* written,
                   std::string* error, const ChartHistory& history) {
  const std::string base = PictureBase(options.out);
  const std::string png = base + ".png";
  const std::string svg = base + ".svg";
  const std::optional<render::HistoryLayer> layer = history.Layer(host);
  if (!render::WriteChartPictures(host.Chart(), host.Drawings().Sorted(), options.width, options.height, png,
                                  svg, error, layer ? &*layer : nullptr)) {
    return false;
  }
  *written = png + " and " + svg;
  return true;
}

void ReportLoad(const LoadOutcome& outcome) {
  if (outcome.levelsAnswered && outcome.levelsStatus != 200) {
    PrintLine(stderr, text::Format("ordinel chart: the levels service answered with HTTP status %ld",
                                   outcome.levelsStatus));
  }
  for (const std::string& note : outcome.notes) {
    PrintLine(stderr, "ordinel chart: no fear input from " + note);
  }
}

double SteadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The history of the chart's day for pictures drawn once: asked for and waited for (never
// longer than its two bounded fetches), its status printed.
void AwaitHistory(ChartHistory& history, const chart::ChartHost& host) {
  if (!history.On()) return;
  history.Update(host, SteadySeconds());
  if (history.AwaitFetch(2 * kHistoryTimeoutSeconds + 1)) history.Update(host, SteadySeconds());
  PrintLine(stdout, history.Status());
}

// Calls the study every second, rewriting the pictures after every redraw, until SIGINT or
// SIGTERM (blocked by the caller, so they wait here).
void RunLive(const ChartOptions& options, ChartSession& session, ChartHistory& history,
             const sigset_t& stopSignals) {
  std::vector<host::DrawingRequest> shown = session.Host().Drawings().Sorted();
  size_t logShown = session.Host().Log().size();
  std::fprintf(stdout, "Live: calling the study every second; Ctrl-C ends.\n");
  std::fflush(stdout);
  const timespec second{1, 0};
  while (sigtimedwait(&stopSignals, nullptr, &second) < 0) {
    session.Call();
    const std::vector<chart::LogEntry>& log = session.Host().Log();
    for (; logShown < log.size(); ++logShown) PrintLine(stdout, "log: " + log[logShown].text);
    std::vector<host::DrawingRequest> now = session.Host().Drawings().Sorted();
    if (history.Update(session.Host(), SteadySeconds())) PrintLine(stdout, history.Status());
    // The steps grow with every bar the study writes at; the drawings alone decide a redraw.
    if (SameDrawings(now, shown)) continue;
    std::string written;
    std::string error;
    if (WritePictures(options, session.Host(), &written, &error, history)) {
      PrintLine(stdout, "redrawn: wrote " + written);
    } else {
      PrintLine(stderr, "ordinel chart: " + error);
    }
    std::fflush(stdout);
    shown = std::move(now);
  }
}

}  // namespace

std::string DefaultBarsPath() {
  return (std::filesystem::path(service::DefaultDataDir()) / ".." / "scenarios" / "nqz25_bars.csv")
      .lexically_normal()
      .string();
}

namespace {

// The levels origin the study will use, read as the study reads its "API base URL".
std::string StudyLevelsOrigin(const chart::ChartHost& host) {
  return study::BuildCallInputs(study::ReadInputValues(host), "").levelsOrigin;
}

// When the calls brought no map: the study's own lines say why, and the run has failed.
int NoMap(const std::string& origin, const LoadOutcome& outcome, const chart::ChartHost& host) {
  std::string message = "no levels map from " + origin;
  if (outcome.levelsEmpty)
    message += text::Format(" (its answer was empty, HTTP status %ld)", outcome.levelsStatus);
  if (!outcome.levelsAnswered) message += " (the study sent it no request)";
  const std::vector<std::string> lines = StudyStatusLines(host);
  if (lines.empty()) {
    PrintLine(stderr,
              "ordinel chart: " + message + "; the study shows no status (its panel is hidden or folded)");
    return kExitInvalid;
  }
  PrintLine(stderr, "ordinel chart: " + message + "; the study says:");
  for (const std::string& line : lines) PrintLine(stderr, "  " + line);
  return kExitInvalid;
}

// From the declaration call to the pictures (and, live, on until interrupted).
int RunSession(const ChartOptions& options, ChartSession& session, std::vector<chart::Bar> heldBack,
               const std::string& origin, bool sample, const sigset_t& stopSignals) {
  std::string error;
  session.Declare();
  // Whatever ends the run, the study leaves the chart with its removal call and frees its state.
  struct RemoveOnExit {
    ChartSession& session;
    ~RemoveOnExit() { session.Remove(); }
  } removeOnExit{session};
  ChartFile chartFile;
  if (!ApplyInputs(options, origin, sample, session.Host().Inputs(), &chartFile, &error))
    return Invalid(error);
  const std::string levelsOrigin = StudyLevelsOrigin(session.Host());
  if (!transport::CheckBaseUrl(levelsOrigin, &error)) {
    return Invalid("the levels origin '" + levelsOrigin + "' (\"" + kApiBaseUrlLabel +
                   "\") is not a service URL: " + error);
  }
  const LoadOutcome outcome = session.Load();
  if (!outcome.levelsError.empty()) {
    return Invalid("cannot reach the levels service at " + levelsOrigin + ": " + outcome.levelsError);
  }
  ReportLoad(outcome);
  const bool live = options.live || options.serve;
  if (!live && !MapOnChart(session.Host())) return NoMap(levelsOrigin, outcome, session.Host());
  for (const std::string& click : options.clicks) {
    if (!session.Click(click, &error)) return Invalid("--click: " + error);
  }
  ChartHistory history(options.historyLines, options.routes);
  if (options.serve) {
    return ServeChart(options, session, history, std::move(heldBack), stopSignals, [&] {
      if (options.chartFile.empty() ||
          SaveChartFile(options.chartFile, chartFile, session.Host().Inputs(), &error)) {
        return kExitOk;
      }
      return Invalid(error);
    });
  }
  AwaitHistory(history, session.Host());
  std::string written;
  if (!WritePictures(options, session.Host(), &written, &error, history)) return Invalid(error);
  const std::string printout = PanelAndLogText(session.Host());
  std::fwrite(printout.data(), 1, printout.size(), stdout);
  PrintLine(stdout, text::Format("Pictures: %s (%dx%d)", written, options.width, options.height));
  std::fflush(stdout);
  if (options.live) RunLive(options, session, history, stopSignals);
  if (!options.chartFile.empty() &&
      !SaveChartFile(options.chartFile, chartFile, session.Host().Inputs(), &error)) {
    return Invalid(error);
  }
  return kExitOk;
}

// A one-shot run takes a virtual clock at the sample session's moment (or now, for a real
// service); a live run the wall clock, sped up by --clock-rate.
std::unique_ptr<chart::Clock> ChooseClock(const ChartOptions& options) {
  if (!options.live && !options.serve) {
    return std::make_unique<chart::VirtualClock>(options.origin.empty() ? kSampleSessionTime
                                                                        : std::time(nullptr));
  }
  if (options.clockRate != 1.0) return std::make_unique<chart::FastClock>(options.clockRate);
  return std::make_unique<chart::SystemClock>();
}

transport::CurlTransportOptions TransportOptions(const ChartOptions& options) {
  transport::CurlTransportOptions transport;
  transport.connectTimeout = kConnectTimeout;
  transport.transferTimeout = kTransferTimeout;
  // The user's routes come first, so that they win over the sample service's.
  transport.routes = options.routes;
  return transport;
}

}  // namespace

int RunChart(const Args& args) {
  ChartOptions options;
  int status = kExitOk;
  if (!ReadArguments(ChartOptionTable(&options), args, &status)) return status;
  if (options.listInputs) return ListInputs(options);
  std::string error;
  chart::ChartData chartData;
  std::vector<chart::Bar> heldBack;
  if (!LoadChart(options, &chartData, &heldBack, &error)) return Invalid(error);
  std::unique_ptr<chart::StudyLibrary> library =
      chart::StudyLibrary::Open(chart::StudyLibraryPath(options.study), &error);
  if (!library) {
    PrintLine(stderr, "ordinel chart: " + error);
    return kExitFailed;
  }
  // The study's code may still run on a research worker when this function returns.
  library->KeepLoaded();

  // Before any thread starts, so that the threads inherit the mask.
  const StopSignalMask stopSignals(options.live || options.serve);
  const std::unique_ptr<chart::Clock> clock = ChooseClock(options);
  service::ChainLevels chainLevels;
  const bool chain = !options.chain.chain.empty();
  if (chain && !ServeChainLevels(options, chartData, &chainLevels, &error)) return Invalid(error);
  transport::CurlTransportOptions transport = TransportOptions(options);
  std::unique_ptr<service::LevelsService> sample;
  std::string origin = options.origin;
  if (origin.empty()) {
    sample = StartSampleService(*clock, chain ? &chainLevels : nullptr, &error);
    if (!sample) return Invalid("cannot start the sample levels service: " + error);
    origin = sample->Origin();
    // The fear inputs' daily chart requests go to the sample service too.
    transport.routes.push_back({study::kChartServiceOrigin, origin});
  }
  ChartSession session(std::move(chartData), library->Function(), *clock, std::move(transport),
                       platform::DefaultServices());
  return RunSession(options, session, std::move(heldBack), origin, sample != nullptr, stopSignals.Signals());
}

}  // namespace cli
