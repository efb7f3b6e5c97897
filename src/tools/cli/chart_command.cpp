#include "cli/chart_command.h"

#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>

#include "formats/bars_csv.h"
#include "formats/file_io.h"
#include "chart/input_edits.h"
#include "chart/study_library.h"
#include "cli/arguments.h"
#include "cli/chart_inputs.h"
#include "cli/chart_printout.h"
#include "cli/chart_serve.h"
#include "cli/chart_session.h"
#include "cli/commands.h"
#include "chart/study_location.h"
#include "platform/posix/posix_services.h"
#include "render/chart_pictures.h"
#include "service/chain_levels.h"
#include "service/data_location.h"
#include "service/levels_service.h"
#include "study/call_inputs.h"
#include "study/fetch_cycle.h"
#include "study/symbol_resolution.h"
#include "text/format.h"

namespace cli {
namespace {

constexpr const char* kApiBaseUrlLabel = "API base URL";
// The sample session's settings: the live map, since a capture held at open makes the study
// send nothing (the fear inputs included) until the next session, and the extended map, so
// that every sample layer (heatmaps, session references...) shows when its input is turned on.
constexpr const char* kSampleSettings[][2] = {
    {"Snapshot mode", "Dynamic (live)"},
    {"Request extended levels (extended=1)", "Yes"},
};
constexpr std::chrono::milliseconds kConnectTimeout{5000};
constexpr std::chrono::milliseconds kTransferTimeout{30000};

int Invalid(const std::string& message) {
  std::fprintf(stderr, "ordinel chart: %s\n", message.c_str());
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
  if (!formats::ReadBarsCsv(csv, &out->bars, &why)) {
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
                   std::string* error) {
  const std::string base = PictureBase(options.out);
  const std::string png = base + ".png";
  const std::string svg = base + ".svg";
  if (!render::WriteChartPictures(host.Chart(), host.Drawings().Sorted(), options.width, options.height,
                                  png, svg, error)) {
    return false;
  }
  *written = png + " and " + svg;
  return true;
}

// Inputs in the order a user's chart would have them: the sample session's settings when the
// sample service runs, the saved chart, the service this run uses, then what the command line
// says.
bool ApplyInputs(const ChartOptions& options, const std::string& origin, bool sample,
                 chart::InputStore& inputs, ChartFile* chartFile, std::string* error) {
  for (const auto& [label, value] : kSampleSettings) {
    if (sample && !chart::SetInputFromText(inputs, label, value, error)) return false;
  }
  if (!options.chartFile.empty()) {
    std::vector<std::string> skipped;
    if (!LoadChartFile(options.chartFile, inputs, chartFile, &skipped, error)) return false;
    for (const std::string& label : skipped) {
      std::fprintf(stderr,
                   "ordinel chart: the chart file's input \"%s\" is not the study's; not applied, kept in the file\n",
                   label.c_str());
    }
  }
  if (!chart::SetInputFromText(inputs, kApiBaseUrlLabel, origin, error)) return false;
  for (const std::string& setting : options.sets) {
    if (!ApplySetting(inputs, setting, error)) return false;
  }
  return true;
}

void ReportLoad(const LoadOutcome& outcome) {
  if (outcome.levelsAnswered && outcome.levelsStatus != 200) {
    std::fprintf(stderr, "ordinel chart: the levels service answered with HTTP status %ld\n",
                 outcome.levelsStatus);
  }
  for (const std::string& note : outcome.notes) {
    std::fprintf(stderr, "ordinel chart: no fear input from %s\n", note.c_str());
  }
}

// Calls the study every second, rewriting the pictures after every redraw, until SIGINT or
// SIGTERM (blocked by the caller, so they wait here).
void RunLive(const ChartOptions& options, ChartSession& session, const sigset_t& stopSignals) {
  std::vector<host::DrawingRequest> shown = session.Host().Drawings().Sorted();
  size_t logShown = session.Host().Log().size();
  std::fprintf(stdout, "Live: calling the study every second; Ctrl-C ends.\n");
  std::fflush(stdout);
  const timespec second{1, 0};
  while (sigtimedwait(&stopSignals, nullptr, &second) < 0) {
    session.Call();
    const std::vector<chart::LogEntry>& log = session.Host().Log();
    for (; logShown < log.size(); ++logShown) std::fprintf(stdout, "log: %s\n", log[logShown].text.c_str());
    std::vector<host::DrawingRequest> now = session.Host().Drawings().Sorted();
    if (SameDrawings(now, shown)) continue;
    std::string written;
    std::string error;
    if (WritePictures(options, session.Host(), &written, &error)) {
      std::fprintf(stdout, "redrawn: wrote %s\n", written.c_str());
    } else {
      std::fprintf(stderr, "ordinel chart: %s\n", error.c_str());
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

bool ApplySetting(chart::InputStore& inputs, const std::string& setting, std::string* error) {
  size_t labelEnd = std::string::npos;
  for (size_t at = setting.find('='); at != std::string::npos; at = setting.find('=', at + 1)) {
    if (at > 0 && inputs.SlotOf(setting.substr(0, at)) >= 0) labelEnd = at;
  }
  if (labelEnd == std::string::npos) {
    *error = "--set '" + setting + "': the study declares no input \"" + setting.substr(0, setting.rfind('=')) + "\"";
    return false;
  }
  if (chart::SetInputFromText(inputs, setting.substr(0, labelEnd), setting.substr(labelEnd + 1), error)) return true;
  *error = "--set: " + *error;
  return false;
}

namespace {

// The levels origin the study will use, read as the study reads its "API base URL".
std::string StudyLevelsOrigin(const chart::ChartHost& host) {
  return study::BuildCallInputs(study::ReadInputValues(host), "").levelsOrigin;
}

// When the calls brought no map: the study's own lines say why, and the run has failed.
int NoMap(const std::string& origin, const LoadOutcome& outcome, const chart::ChartHost& host) {
  std::string message = "no levels map from " + origin;
  if (outcome.levelsEmpty) message += text::Format(" (its answer was empty, HTTP status %ld)", outcome.levelsStatus);
  if (!outcome.levelsAnswered) message += " (the study sent it no request)";
  const std::vector<std::string> lines = StudyStatusLines(host);
  if (lines.empty()) {
    std::fprintf(stderr, "ordinel chart: %s; the study shows no status (its panel is hidden or folded)\n", message.c_str());
    return kExitInvalid;
  }
  std::fprintf(stderr, "ordinel chart: %s; the study says:\n", message.c_str());
  for (const std::string& line : lines) std::fprintf(stderr, "  %s\n", line.c_str());
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
  if (!ApplyInputs(options, origin, sample, session.Host().Inputs(), &chartFile, &error)) return Invalid(error);
  const std::string levelsOrigin = StudyLevelsOrigin(session.Host());
  if (!transport::CheckBaseUrl(levelsOrigin, &error)) {
    return Invalid("the levels origin '" + levelsOrigin + "' (\"" + kApiBaseUrlLabel + "\") is not a service URL: " + error);
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
  if (options.serve) {
    const int status = ServeChart(options, session, std::move(heldBack), stopSignals);
    if (status == kExitOk && !options.chartFile.empty() &&
        !SaveChartFile(options.chartFile, chartFile, session.Host().Inputs(), &error)) {
      return Invalid(error);
    }
    return status;
  }
  std::string written;
  if (!WritePictures(options, session.Host(), &written, &error)) return Invalid(error);
  const std::string printout = PanelAndLogText(session.Host());
  std::fwrite(printout.data(), 1, printout.size(), stdout);
  std::fprintf(stdout, "Pictures: %s (%dx%d)\n", written.c_str(), options.width, options.height);
  std::fflush(stdout);
  if (options.live) RunLive(options, session, stopSignals);
  if (!options.chartFile.empty() && !SaveChartFile(options.chartFile, chartFile, session.Host().Inputs(), &error)) {
    return Invalid(error);
  }
  return kExitOk;
}

// The sample service's levels from an option chain: a chain of another underlying than the
// chart's is mapped by --ratio or --future-price, else by the chart's last price.
bool ServeChainLevels(ChartOptions& options, const chart::ChartData& chart,
                      service::ChainLevels* levels, std::string* error) {
  if (!LoadChain("ordinel chart", &options.chain, &levels->chain, error)) return false;
  ReportSkippedRows("ordinel chart", levels->chain.issues);
  levels->settings = options.chain.settings;
  levels->services = &platform::DefaultServices();
  engine::FuturesMapping& mapping = levels->settings.mapping;
  const std::string chartSymbol = study::ResolveApiSymbol(chart.symbol);
  if (mapping.symbol.empty()) mapping.symbol = chartSymbol;
  const std::string underlying =
      levels->settings.symbol.empty() ? levels->chain.underlying : levels->settings.symbol;
  if (mapping.source == engine::FuturesMapping::Source::kNone && underlying != chartSymbol &&
      !chart.bars.empty()) {
    mapping.source = engine::FuturesMapping::Source::kChartPrice;
    mapping.price = chart.bars.back().close;
  }
  if (service::CheckChainLevels(*levels, error)) return true;
  *error = options.chain.chain + ": " + *error;
  return false;
}

}  // namespace

int RunChart(const Args& args) {
  ChartOptions options;
  int status = kExitOk;
  if (!ReadArguments(ChartOptionTable(&options), args, &status)) return status;
  std::string error;
  chart::ChartData chartData;
  std::vector<chart::Bar> heldBack;
  if (!LoadChart(options, &chartData, &heldBack, &error)) return Invalid(error);
  std::unique_ptr<chart::StudyLibrary> library = chart::StudyLibrary::Open(chart::StudyLibraryPath(options.study), &error);
  if (!library) {
    std::fprintf(stderr, "ordinel chart: %s\n", error.c_str());
    return kExitFailed;
  }
  // The study's code may still run on a research worker when this function returns.
  library->KeepLoaded();

  // Blocked before any thread starts, so that the threads inherit the mask and a live run's
  // Ctrl-C waits for the loop instead of killing the process mid-write.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  struct MaskRestore {
    bool active = false;
    sigset_t previous;
    ~MaskRestore() {
      if (active) pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    }
  } mask;
  sigemptyset(&mask.previous);
  const bool live = options.live || options.serve;
  if (live) mask.active = pthread_sigmask(SIG_BLOCK, &stopSignals, &mask.previous) == 0;

  chart::VirtualClock virtualClock(options.origin.empty() ? kSampleSessionTime : std::time(nullptr));
  chart::SystemClock systemClock;
  chart::FastClock fastClock(options.clockRate);
  chart::Clock& clock = !live                       ? static_cast<chart::Clock&>(virtualClock)
                        : options.clockRate != 1.0 ? static_cast<chart::Clock&>(fastClock)
                                                   : systemClock;

  std::unique_ptr<service::LevelsService> sample;
  std::string origin = options.origin;
  transport::CurlTransportOptions transport;
  transport.connectTimeout = kConnectTimeout;
  transport.transferTimeout = kTransferTimeout;
  // The user's routes come first, so that they win over the sample service's.
  transport.routes = options.routes;
  service::ChainLevels chainLevels;
  if (!options.chain.chain.empty() && !ServeChainLevels(options, chartData, &chainLevels, &error)) {
    return Invalid(error);
  }
  if (origin.empty()) {
    service::FixtureCatalogue catalogue{service::DefaultDataDir(), [&clock] { return clock.Now(); }, {}};
    if (!options.chain.chain.empty()) {
      catalogue.levels = [&chainLevels](const service::FixtureRequest& request) {
        return service::AnswerChainLevels(chainLevels, request);
      };
    }
    sample = std::make_unique<service::LevelsService>(std::move(catalogue));
    if (!sample->Start(0, &error)) return Invalid("cannot start the sample levels service: " + error);
    origin = sample->Origin();
    // The fear inputs' daily chart requests go to the sample service too.
    transport.routes.push_back({study::kChartServiceOrigin, origin});
  }
  ChartSession session(std::move(chartData), library->Function(), clock, std::move(transport),
                       platform::DefaultServices());
  return RunSession(options, session, std::move(heldBack), origin, sample != nullptr, stopSignals);
}

}  // namespace cli
