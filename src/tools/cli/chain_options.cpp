#include "cli/chain_options.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "engine/chain_reader.h"
#include "text/format.h"

namespace cli {
namespace {

// A finite number filling the whole text.
bool ReadNumber(const std::string& s, double* out) {
  double value = 0;
  if (s.empty() || text::ParseDouble(s, &value) != s.size() || !std::isfinite(value)) return false;
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

bool IsNumericOption(const std::string& a) {
  return a == "--spot" || a == "--rate" || a == "--dividend" || a == "--ratio" ||
         a == "--future-price";
}

bool IsChainOption(const std::string& a, const ChainOptionSet& set) {
  return IsNumericOption(a) || a == "--as-of" || a == set.symbolFlag || a == "--future-symbol" ||
         (set.expiryOptions && (a == "--expiry-mode" || a == "--expiries"));
}

// `a` is a chain option; the symbol flag comes as "--symbol" whatever its name in the command.
void Apply(const std::string& a, const std::string& value, double number, ChainOptions* o) {
  engine::EngineSettings& s = o->settings;
  if (a == "--spot") {
    s.hasSpot = true;
    s.spot = number;
  } else if (a == "--as-of") {
    s.asOf = value;
  } else if (a == "--rate") {
    s.rate = number;
  } else if (a == "--dividend") {
    s.dividend = number;
  } else if (a == "--symbol") {
    s.symbol = value;
  } else if (a == "--ratio") {
    o->haveRatio = true;
    s.mapping.source = engine::FuturesMapping::Source::kRatio;
    s.mapping.ratio = number;
  } else if (a == "--future-price") {
    o->haveFuturePrice = true;
    s.mapping.source = engine::FuturesMapping::Source::kFuturePrice;
    s.mapping.price = number;
  } else if (a == "--future-symbol") {
    s.mapping.symbol = value;
  } else if (a == "--expiry-mode") {
    s.expiry.mode = value;
  } else if (a == "--expiries") {
    s.expiry.dates = SplitCommas(value);
  }
}

}  // namespace

ChainOptionRead ReadChainOption(const Args& args, const ChainOptionSet& set, size_t* i,
                                ChainOptions* o, std::string* problem) {
  const std::string& a = args[*i];
  if (!IsChainOption(a, set)) return ChainOptionRead::kNotMine;
  if (*i + 1 >= args.size()) {
    *problem = a + " needs a value";
    return ChainOptionRead::kBad;
  }
  const std::string& value = args[++*i];
  double number = 0;
  if (IsNumericOption(a) && !ReadNumber(value, &number)) {
    *problem = a + " needs a number, not '" + value + "'";
    return ChainOptionRead::kBad;
  }
  Apply(a == set.symbolFlag ? "--symbol" : a, value, number, o);
  if (o->haveRatio && o->haveFuturePrice) {
    *problem = "give --future-price or --ratio, not both";
    return ChainOptionRead::kBad;
  }
  return ChainOptionRead::kTaken;
}

bool LoadChain(const std::string& command, ChainOptions* options, engine::OptionChain* chain,
               std::string* error) {
  if (!engine::ReadChainFile(options->chain, chain, error)) return false;
  if (options->settings.asOf.empty() && chain->asOfText.empty()) {
    options->settings.asOf = text::Format("%lld", static_cast<long long>(std::time(nullptr)));
    std::fprintf(stderr, "%s: the chain carries no time and no --as-of was given: using now\n",
                 command.c_str());
  }
  return true;
}

void ReportSkippedRows(const std::string& command, const engine::RowIssues& issues) {
  if (issues.count == 0) return;
  std::fprintf(stderr, "%s: %lld row%s skipped\n", command.c_str(),
               static_cast<long long>(issues.count), issues.count == 1 ? "" : "s");
  for (const std::string& line : issues.firstFew) std::fprintf(stderr, "  %s\n", line.c_str());
  if (issues.count > issues.firstFew.size()) std::fputs("  ...\n", stderr);
}

}  // namespace cli
