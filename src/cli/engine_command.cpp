// `ordinel engine CHAIN [options]`: computes a levels answer from an option chain (CSV or the
// exchange JSON download) and prints it on standard output.
#include <cstdio>
#include <ctime>
#include <string>

#include "cli/commands.h"
#include "engine/answer_writer.h"
#include "engine/chain_reader.h"
#include "engine/engine.h"
#include "platform/posix/posix_services.h"
#include "text/format.h"

namespace cli {
namespace {

constexpr const char* kUsage =
    "usage: ordinel engine CHAIN|- [--spot S] [--as-of TIME] [--rate R] [--dividend Q]\n"
    "                      [--symbol SYM] [--future-price F | --ratio X] [--future-symbol SYM]\n"
    "                      [--expiry-mode legacy|multi|specific|0dte] [--expiries D1,D2,...]\n"
    "  CHAIN   CSV with a header row, or the exchange's delayed-quote JSON ('-' reads stdin)\n"
    "  --spot  underlying price (required for a CSV chain; the JSON carries its own)\n"
    "  --as-of 2025-01-02T15:42:10Z, or New York wall clock 2025-01-02 10:42:10, or epoch seconds\n"
    "  --rate, --dividend   continuous, decimal (defaults 0.045 and 0)\n"
    "  --future-price F / --ratio X   map the levels onto a futures chart\n";

int Usage(const std::string& problem) {
  std::fprintf(stderr, "ordinel engine: %s\n%s", problem.c_str(), kUsage);
  return 2;
}

// A finite number filling the whole text.
bool ReadNumber(const std::string& s, double* out) {
  double value = 0;
  if (s.empty() || text::ParseDouble(s, &value) != s.size() || !(value == value)) return false;
  *out = value;
  return true;
}

std::vector<std::string> SplitCommas(const std::string& s) {
  std::vector<std::string> parts(1);
  for (char c : s) {
    if (c == ',') {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

struct Options {
  std::string chain;
  engine::EngineSettings settings;
  bool haveRatio = false, haveFuturePrice = false;
};

// Fills `o` from the arguments; an empty result means success, else the problem.
std::string ParseOptions(const Args& args, Options* o) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool takesValue = a.rfind("--", 0) == 0;
    if (takesValue && i + 1 >= args.size()) return a + " needs a value";
    const std::string value = takesValue ? args[i + 1] : "";
    double number = 0;
    const bool numeric = takesValue && ReadNumber(value, &number);
    if (a == "--spot" || a == "--rate" || a == "--dividend" || a == "--ratio" ||
        a == "--future-price") {
      if (!numeric) return a + " needs a number, not '" + value + "'";
    }
    if (a == "--spot") {
      o->settings.hasSpot = true;
      o->settings.spot = number;
    } else if (a == "--as-of") {
      o->settings.asOf = value;
    } else if (a == "--rate") {
      o->settings.rate = number;
    } else if (a == "--dividend") {
      o->settings.dividend = number;
    } else if (a == "--symbol") {
      o->settings.symbol = value;
    } else if (a == "--ratio") {
      o->haveRatio = true;
      o->settings.mapping.source = engine::FuturesMapping::Source::kRatio;
      o->settings.mapping.ratio = number;
    } else if (a == "--future-price") {
      o->haveFuturePrice = true;
      o->settings.mapping.source = engine::FuturesMapping::Source::kFuturePrice;
      o->settings.mapping.price = number;
    } else if (a == "--future-symbol") {
      o->settings.mapping.symbol = value;
    } else if (a == "--expiry-mode") {
      o->settings.expiry.mode = value;
    } else if (a == "--expiries") {
      o->settings.expiry.dates = SplitCommas(value);
    } else if (takesValue) {
      return "unknown option '" + a + "'";
    } else if (o->chain.empty()) {
      o->chain = a;
      continue;
    } else {
      return "unexpected argument '" + a + "'";
    }
    ++i;
  }
  if (o->chain.empty()) return "no chain given";
  if (o->haveRatio && o->haveFuturePrice) return "give --future-price or --ratio, not both";
  return "";
}

void ReportSkippedRows(const engine::RowIssues& issues) {
  if (issues.count == 0) return;
  std::fprintf(stderr, "ordinel engine: %lld row%s skipped\n",
               static_cast<long long>(issues.count), issues.count == 1 ? "" : "s");
  for (const std::string& line : issues.firstFew) std::fprintf(stderr, "  %s\n", line.c_str());
  if (issues.count > issues.firstFew.size()) std::fputs("  ...\n", stderr);
}

}  // namespace

int RunEngine(const Args& args) {
  Options options;
  const std::string problem = ParseOptions(args, &options);
  if (!problem.empty()) return Usage(problem);
  engine::OptionChain chain;
  std::string error;
  if (!engine::ReadChainFile(options.chain, &chain, &error)) {
    std::fprintf(stderr, "ordinel engine: %s\n", error.c_str());
    return 2;
  }
  if (options.settings.asOf.empty() && chain.asOfText.empty()) {
    options.settings.asOf = text::Format("%lld", static_cast<long long>(std::time(nullptr)));
    std::fputs("ordinel engine: the chain carries no time and no --as-of was given: using now\n",
               stderr);
  }
  engine::EngineAnswer answer;
  const bool ok =
      engine::RunEngine(chain, options.settings, platform::DefaultServices(), &answer, &error);
  ReportSkippedRows(ok ? answer.issues : chain.issues);
  if (!ok) {
    std::fprintf(stderr, "ordinel engine: %s: %s\n", options.chain.c_str(), error.c_str());
    return 2;
  }
  const std::string json = engine::LevelsAnswerJson(answer) + "\n";
  std::fwrite(json.data(), 1, json.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 2;
}

}  // namespace cli
