#include "cli/chart_options.h"

#include "cli/arguments.h"
#include "text/fail.h"
#include "render/chart_pictures.h"
#include "text/format.h"

namespace cli {
namespace {

const char* const kSummary =
    "Runs the study on a chart, writes OUT.png and OUT.svg, prints the panel and the message log.\n"
    "Without options: the sample levels service in-process and the bundled NQ bars.\n";

const char* const kEpilogue =
    "Pictures are written whole or not at all (a failed write keeps the old ones).\n"
    "Exit status 0 when the pictures were written; 2 for bad options, unreadable or too large\n"
    "files, a levels origin that is not an http(s) service URL or cannot be reached, and calls\n"
    "that end without a levels map (the study's status and error lines go to standard error).\n"
    "With --serve: 0 after Ctrl-C, 2 when the page's port cannot be bound.\n";

// True when the last part of `path` is a file name (not empty, "." or "..").
bool NamesAFile(const std::string& path) {
  const std::string name = path.substr(path.rfind('/') + 1);
  return !name.empty() && name != "." && name != "..";
}

bool ReadSize(const std::string& text, ChartOptions* o) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  int w = 0;
  int h = 0;
  if (!formats::ReadWholeNumber(text.substr(0, x), render::kMinPictureSide, render::kMaxPictureSide, &w) ||
      !formats::ReadWholeNumber(text.substr(x + 1), render::kMinPictureSide, render::kMaxPictureSide, &h)) {
    return false;
  }
  o->width = w;
  o->height = h;
  return true;
}

// Where the levels come from: a service, the routes of other requests, or a chain.
std::vector<formats::OptionRow> SourceRows(ChartOptions* o) {
  using formats::Checked;
  return {
      Checked("--origin", "URL", "a service URL",
              "a levels service (http:// or https://) instead of the sample one",
              [o](const std::string& value, std::string* why) {
                if (!transport::CheckBaseUrl(value, why))
                  return text::Fail(why, "'" + value + "' is not a service URL: " + *why);
                o->origin = value;
                return true;
              }),
      formats::Repeatable(Checked("--route", "FROM=TO", "FROM=TO origins",
                                  "send the requests for origin FROM to origin TO (repeatable), e.g.\n"
                                  "--route https://query1.finance.yahoo.com=http://127.0.0.1:8080\n"
                                  "for the daily chart (VIX, QQQ) requests of the fear score",
                                  [o](const std::string& value, std::string* why) {
                                    transport::OriginRoute route;
                                    if (!transport::ParseOriginRoute(value, &route, why)) return false;
                                    o->routes.push_back(std::move(route));
                                    return true;
                                  })),
  };
}

// The chart itself, its inputs and its pictures.
std::vector<formats::OptionRow> ChartRows(ChartOptions* o) {
  using formats::Text;
  const std::string sizeForm =
      text::Format("WxH with each side %d to %d", render::kMinPictureSide, render::kMaxPictureSide);
  return {
      Text("--bars", "FILE.csv",
           "bars to chart: CSV (comma, semicolon or tab separated) with a header\n"
           "row and open, high, low, close (or last) columns of decimal prices\n"
           "(no exponent; a decimal comma with semicolons; open and close within\n"
           "low to high), and optionally a time column or Date and Time columns\n"
           "(ISO 8601 or slash dates, New York time without an offset, or seconds\n"
           "since 1970) for the time axis (at most 8 MiB)",
           &o->barsFile),
      Text("--symbol", "SYMBOL", "the chart's symbol (default NQZ25)", &o->symbol),
      formats::Number("--tick-size", "N", {.min = 0, .minOpen = true}, "the chart's tick size (default 0.25)",
                      &o->tickSize),
      // Labels may hold '=' themselves; which one ends the label is settled against the study's
      // inputs once they are declared.
      formats::Repeatable(formats::Checked("--set", "LABEL=VALUE", "LABEL=VALUE",
                                           "set a study input before the first call (repeatable)",
                                           [o](const std::string& value, std::string*) {
                                             if (value.find('=', 1) == std::string::npos) return false;
                                             o->sets.push_back(value);
                                             return true;
                                           })),
      formats::Flag("--list-inputs",
                    "print every study input, one per line: label, kind, default and\n"
                    "what --set takes (range or choices), tab-separated; then exit",
                    &o->listInputs),
      formats::TextList("--click", "TEXT",
                        "press the first chart text containing TEXT (repeatable, in order)", &o->clicks),
      formats::Checked("--size", "WxH", sizeForm, "picture size in pixels (default 1280x720)",
                       [o](const std::string& value, std::string*) { return ReadSize(value, o); }),
      formats::Checked("--out", "PATH", "a path that ends in a file name",
                       "picture path without extension (default ordinel-chart)",
                       [o](const std::string& value, std::string*) {
                         // "/", "dir/" or "." would write hidden ".png" and ".svg" files.
                         if (!NamesAFile(PictureBase(value))) return false;
                         o->out = value;
                         o->outGiven = true;
                         return true;
                       }),
      Text("--chart-file", "PATH",
           "load the inputs from PATH if it exists, save them there afterwards;\n"
           "what the study does not know stays in the file (at most 1 MiB)",
           &o->chartFile),
      Text("--study", "PATH", "the study library (default: beside the program)", &o->study),
      formats::Flag("--history-lines",
                    "draw the levels' past as faint steps behind the current lines (the\n"
                    "values the study left at each bar; earlier bars of the day and the\n"
                    "strike-by-time GEX heatmap from a live service's history paths)",
                    &o->historyLines),
  };
}

// A chart that keeps running: rewritten in place or served as a page.
std::vector<formats::OptionRow> LiveRows(ChartOptions* o) {
  using formats::Flag;
  using formats::Number;
  return {
      Flag("--live",
           "real clock: call the study every second and rewrite the pictures\n"
           "after every redraw until interrupted",
           &o->live),
      Flag("--serve",
           "real clock as --live, served as a live page on 127.0.0.1: the chart\n"
           "pushed on every redraw, presses, scrolling, zooming and the study's\n"
           "settings sent back; prints the address; pictures only with --out",
           &o->serve),
      PortOption("the page's port with --serve (default 8765; 0 takes a free one)", &o->port),
      Number("--pace", "SECONDS", {.min = 0, .max = kMaxPaceSeconds},
             "with --serve: start with 60 % of the bars and add one every SECONDS\n"
             "(default 3 for the bundled bars, else 0: all bars at once)",
             &o->paceSeconds),
      Number("--clock-rate", "N", {.min = 0, .max = kMaxClockRate, .minOpen = true},
             "with --serve: the study's clock runs N times as fast as real time", &o->clockRate),
  };
}

bool CheckChartOptions(const ChartOptions& o, const formats::ParsedArguments& parsed, std::string* error) {
  for (const std::string& name : parsed.given) {
    if (!o.serve && (name == "--port" || name == "--pace" || name == "--clock-rate")) {
      return text::Fail(error, name + " needs --serve");
    }
  }
  if (!o.chain.chain.empty() && !o.origin.empty()) {
    return text::Fail(error, "--chain computes the levels itself: it cannot be combined with --origin");
  }
  return CheckChainOptions(o.chain, error);
}

}  // namespace

formats::OptionTable ChartOptionTable(ChartOptions* options) {
  formats::OptionTable table;
  table.command = "ordinel chart";
  table.summary = kSummary;
  table.epilogue = kEpilogue;
  for (auto rows : {SourceRows(options), ChartRows(options), LiveRows(options)}) {
    table.options.insert(table.options.end(), rows.begin(), rows.end());
  }
  table.options.push_back(
      formats::Text("--chain", "CHAIN",
                    "the sample service computes the levels from this option chain, read\n"
                    "with the options below as ordinel engine reads them (--chain-symbol\n"
                    "is its --symbol); a chain of another underlying than the chart's is\n"
                    "mapped by --ratio or --future-price, else by the chart's last price\n"
                    "over the chain's spot, onto the chart's --tick-size",
                    &options->chain.chain));
  for (formats::OptionRow& row : ChainOptionRows({"--chain-symbol", false, false}, &options->chain)) {
    table.options.push_back(std::move(row));
  }
  table.check = [options](const formats::ParsedArguments& parsed, std::string* error) {
    return CheckChartOptions(*options, parsed, error);
  };
  return table;
}

std::string PictureBase(const std::string& out) {
  for (const char* extension : {".png", ".svg"}) {
    const std::string ext = extension;
    if (out.size() > ext.size() && out.compare(out.size() - ext.size(), ext.size(), ext) == 0) {
      return out.substr(0, out.size() - ext.size());
    }
  }
  return out;
}

}  // namespace cli
