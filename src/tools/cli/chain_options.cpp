#include "cli/chain_options.h"

#include <cstdio>
#include <ctime>

#include "cli/terminal_text.h"
#include "engine/chain_reader.h"
#include "engine/option_symbol.h"
#include "text/fail.h"
#include "text/format.h"

namespace cli {
namespace {

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

}  // namespace

std::vector<formats::OptionRow> ChainOptionRows(const ChainOptionSet& set, ChainOptions* o) {
  using formats::Number;
  using formats::Text;
  engine::EngineSettings* s = &o->settings;
  std::vector<formats::OptionRow> rows = {
      Number("--spot", "S", {}, "underlying price (required for a CSV chain; the JSON carries its own)",
             [s](double spot) {
               s->hasSpot = true;
               s->spot = spot;
             }),
      Text("--as-of", "TIME", "2025-01-02T15:42:10Z, or New York wall clock 2025-01-02 10:42:10, or\n"
                              "epoch seconds", &s->asOf),
      Number("--rate", "R", {}, "continuous rate, decimal (default 0.045)", &s->rate),
      Number("--dividend", "Q", {}, "continuous dividend yield, decimal (default 0)", &s->dividend),
      Text(set.symbolFlag, "SYM", "the chain's underlying, any case (default: what the chain says)",
           [s](const std::string& symbol) { s->symbol = engine::CanonicalSymbol(symbol); }),
      Number("--future-price", "F", {}, "map the levels onto a futures chart priced F (not with --ratio)",
             [o](double price) {
               o->haveFuturePrice = true;
               o->settings.mapping.source = engine::FuturesMapping::Source::kFuturePrice;
               o->settings.mapping.price = price;
             }),
      Number("--ratio", "X", {}, "map the levels onto a futures chart: every price times X",
             [o](double ratio) {
               o->haveRatio = true;
               o->settings.mapping.source = engine::FuturesMapping::Source::kRatio;
               o->settings.mapping.ratio = ratio;
             }),
      Text("--future-symbol", "SYM", "the futures chart's symbol (default: the underlying's usual future)",
           [s](const std::string& symbol) { s->mapping.symbol = engine::CanonicalSymbol(symbol); }),
  };
  if (set.expiryOptions) {
    rows.push_back(formats::Choice("--expiry-mode", "MODE", {"legacy", "multi", "specific", "0dte"},
                                   "the expirations used: legacy (every one, the default), multi\n"
                                   "(the nearest 24, or those of --expiries), specific (the one\n"
                                   "date of --expiries) or 0dte (the as-of date)",
                                   &s->expiry.mode));
    rows.push_back(Text("--expiries", "D1,D2,...",
                        "YYYY-MM-DD expirations: up to 24 for multi, exactly one for specific",
                        [s](const std::string& dates) { s->expiry.dates = SplitCommas(dates); }));
  }
  return rows;
}

bool CheckChainOptions(const ChainOptions& o, std::string* error) {
  if (o.haveRatio && o.haveFuturePrice) return text::Fail(error, "give --future-price or --ratio, not both");
  return true;
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
  // The lines quote the chain file.
  for (const std::string& line : issues.firstFew) PrintLine(stderr, "  " + line);
  if (issues.count > issues.firstFew.size()) std::fputs("  ...\n", stderr);
}

}  // namespace cli
