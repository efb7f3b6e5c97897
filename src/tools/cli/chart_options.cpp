#include "cli/chart_options.h"

#include <cmath>

#include "cli/arguments.h"
#include "text/fail.h"
#include "render/chart_pictures.h"
#include "text/format.h"

namespace cli {

const char* const kChartUsage =
    "usage: ordinel chart [OPTIONS]\n"
    "Runs the study on a chart, writes OUT.png and OUT.svg, prints the panel and the message log.\n"
    "Without options: the sample levels service in-process and the bundled NQ bars.\n"
    "  --origin URL        a levels service (http:// or https://) instead of the sample one\n"
    "  --route FROM=TO     send the requests for origin FROM to origin TO (repeatable), e.g.\n"
    "                      --route https://query1.finance.yahoo.com=http://127.0.0.1:8080\n"
    "                      for the daily chart (VIX, QQQ) requests of the fear score\n"
    "  --bars FILE.csv     bars to chart: CSV with a header row and open, high, low, close\n"
    "                      columns of decimal prices, and optionally a time column (ISO 8601\n"
    "                      with an offset or Z, New York time without one, or seconds since\n"
    "                      1970) for the time axis (at most 8 MiB)\n"
    "  --symbol SYMBOL     the chart's symbol (default NQZ25)\n"
    "  --tick-size N       the chart's tick size (default 0.25)\n"
    "  --set LABEL=VALUE   set a study input before the first call (repeatable)\n"
    "  --click TEXT        press the first chart text containing TEXT (repeatable, in order)\n"
    "  --size WxH          picture size in pixels (default 1280x720)\n"
    "  --out PATH          picture path without extension (default ordinel-chart)\n"
    "  --chart-file PATH   load the inputs from PATH if it exists, save them there afterwards;\n"
    "                      what the study does not know stays in the file (at most 1 MiB)\n"
    "  --study PATH        the study library (default: beside the program)\n"
    "  --live              real clock: call the study every second and rewrite the pictures\n"
    "                      after every redraw until interrupted\n"
    "  --serve             real clock as --live, served as a live page on 127.0.0.1: the chart\n"
    "                      pushed on every redraw, presses, scrolling, zooming and the study's\n"
    "                      settings sent back; prints the address; pictures only with --out\n"
    "  --port N            the page's port with --serve (default 8765; 0 takes a free one)\n"
    "  --pace SECONDS      with --serve: start with 60 % of the bars and add one every SECONDS\n"
    "                      (default 3 for the bundled bars, else 0: all bars at once)\n"
    "  --clock-rate N      with --serve: the study's clock runs N times as fast as real time\n"
    "  --chain CHAIN       the sample service computes the levels from this option chain (see\n"
    "                      ordinel engine for its options: --spot, --as-of, --rate, --dividend,\n"
    "                      --ratio, --future-price, and --chain-symbol for its --symbol); a\n"
    "                      chain of another underlying\n"
    "                      than the chart's is mapped by --ratio or --future-price, else by the\n"
    "                      chart's last price over the chain's spot\n"
    "Pictures are written whole or not at all (a failed write keeps the old ones).\n"
    "Exit status 0 when the pictures were written; 2 for bad options, unreadable or too large\n"
    "files, a levels origin that is not an http(s) service URL or cannot be reached, and calls\n"
    "that end without a levels map (the study's status and error lines go to standard error).\n"
    "With --serve: 0 after Ctrl-C, 2 when the page's port cannot be bound.\n";

namespace {

bool ParseSize(const std::string& text, int* width, int* height) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  int w = 0;
  int h = 0;
  if (!ParseWholeArgument(text.substr(0, x), render::kMaxPictureSide, &w) ||
      !ParseWholeArgument(text.substr(x + 1), render::kMaxPictureSide, &h) || w < render::kMinPictureSide ||
      h < render::kMinPictureSide) {
    return false;
  }
  *width = w;
  *height = h;
  return true;
}

bool TakesValue(const std::string& flag) {
  for (const char* known : {"--origin", "--route", "--bars", "--symbol", "--tick-size", "--set", "--click", "--size",
                            "--out", "--chart-file", "--study", "--port", "--pace", "--clock-rate", "--chain"}) {
    if (flag == known) return true;
  }
  return false;
}

// The whole of `value` as a finite number within [min, max] (min itself excluded when
// `minExcluded`).
bool ReadNumber(const std::string& value, double min, double max, bool minExcluded, double* out) {
  double number = 0;
  if (value.empty() || text::ParseDouble(value, &number) != value.size() || !std::isfinite(number)) return false;
  if (number < min || number > max || (minExcluded && number == min)) return false;
  *out = number;
  return true;
}

bool Apply(const std::string& flag, const std::string& value, ChartOptions* o, std::string* error) {
  if (flag == "--port") {
    if (!ParseWholeArgument(value, 65535, &o->port)) return text::Fail(error, "--port needs a number from 0 to 65535, got '" + value + "'");
  } else if (flag == "--pace") {
    if (!ReadNumber(value, 0, kMaxPaceSeconds, false, &o->paceSeconds)) {
      return text::Fail(error, text::Format("--pace needs seconds from 0 to %.0f, got '%s'", kMaxPaceSeconds, value));
    }
  } else if (flag == "--clock-rate") {
    if (!ReadNumber(value, 0, kMaxClockRate, true, &o->clockRate)) {
      return text::Fail(error, text::Format("--clock-rate needs a number above 0 up to %.0f, got '%s'", kMaxClockRate, value));
    }
  } else if (flag == "--origin") {
    std::string why;
    if (!transport::CheckBaseUrl(value, &why)) return text::Fail(error, "--origin '" + value + "' is not a service URL: " + why);
    o->origin = value;
  } else if (flag == "--route") {
    transport::OriginRoute route;
    std::string why;
    if (!transport::ParseOriginRoute(value, &route, &why)) return text::Fail(error, "--route: " + why);
    o->routes.push_back(std::move(route));
  } else if (flag == "--tick-size") {
    double tick = 0;
    if (text::ParseDouble(value, &tick) != value.size() || !std::isfinite(tick) || tick <= 0) {
      return text::Fail(error, "--tick-size needs a positive number, got '" + value + "'");
    }
    o->tickSize = tick;
  } else if (flag == "--set") {
    // Labels may hold '=' themselves; which one ends the label is settled against the study's
    // inputs once they are declared.
    if (value.find('=', 1) == std::string::npos) return text::Fail(error, "--set needs LABEL=VALUE, got '" + value + "'");
    o->sets.push_back(value);
  } else if (flag == "--size") {
    if (!ParseSize(value, &o->width, &o->height)) {
      return text::Fail(error, text::Format("--size needs WxH with each side %d to %d, got '%s'",
                                      render::kMinPictureSide, render::kMaxPictureSide, value));
    }
  } else if (value.empty()) {
    return text::Fail(error, flag + " needs a non-empty value");
  } else if (flag == "--bars") {
    o->barsFile = value;
  } else if (flag == "--symbol") {
    o->symbol = value;
  } else if (flag == "--click") {
    o->clicks.push_back(value);
  } else if (flag == "--out") {
    o->out = value;
    o->outGiven = true;
  } else if (flag == "--chart-file") {
    o->chartFile = value;
  } else if (flag == "--study") {
    o->study = value;
  } else if (flag == "--chain") {
    o->chain.chain = value;
  }
  return true;
}

}  // namespace

bool ParseChartArgs(const Args& args, ChartOptions* options, std::string* error) {
  std::string seenServeOnly;  // an option that only a served chart takes
  for (size_t i = 0; i < args.size(); ++i) {
    const ChainOptionRead read = ReadChainOption(args, {"--chain-symbol", false}, &i, &options->chain, error);
    if (read == ChainOptionRead::kBad) return false;
    if (read == ChainOptionRead::kTaken) continue;
    std::string flag = args[i];
    if (flag == "--live") {
      options->live = true;
      continue;
    }
    if (flag == "--serve") {
      options->serve = true;
      continue;
    }
    if (flag == "--help" || flag == "-h") {
      options->help = true;
      continue;
    }
    std::string value;
    const size_t equals = flag.find('=');
    if (flag.rfind("--", 0) == 0 && equals != std::string::npos) {
      value = flag.substr(equals + 1);
      flag.resize(equals);
      if (!TakesValue(flag)) return text::Fail(error, "unknown option '" + flag + "'");
    } else if (!TakesValue(flag)) {
      return text::Fail(error, "unknown argument '" + flag + "'");
    } else if (i + 1 >= args.size()) {
      return text::Fail(error, flag + " needs a value");
    } else {
      value = args[++i];
    }
    if (!Apply(flag, value, options, error)) return false;
    if ((flag == "--port" || flag == "--pace" || flag == "--clock-rate") && !options->serve) seenServeOnly = flag;
  }
  if (!seenServeOnly.empty() && !options->serve) return text::Fail(error, seenServeOnly + " needs --serve");
  if (!options->chain.chain.empty() && !options->origin.empty()) {
    return text::Fail(error, "--chain computes the levels itself: it cannot be combined with --origin");
  }
  return true;
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
