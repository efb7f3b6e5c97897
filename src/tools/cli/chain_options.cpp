#include "cli/chain_options.h"

#include <cstdio>
#include <ctime>

#include "cli/terminal_text.h"
#include "engine/chain_reader.h"
#include "engine/option_symbol.h"
#include "formats/typed_time.h"
#include "platform/posix/posix_services.h"
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

// The earliest expiration of the chain's contracts, as an as-of date every contract outlives;
// "2025-01-02" for a chain without contracts.
std::string FirstExpiration(const engine::OptionChain& chain) {
  std::string first;
  for (const engine::OptionContract& c : chain.contracts) {
    if (first.empty() || c.expiration < first) first = c.expiration;
  }
  return first.empty() ? "2025-01-02" : first;
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
      Text("--as-of", "TIME",
           "2025-01-02T15:42:10Z, or New York wall clock 2025-01-02 10:42:10, or\n"
           "epoch seconds",
           &s->asOf),
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
  if (set.tickSizeOption) {
    rows.push_back(Number("--tick-size", "N", {.min = 0, .minOpen = true},
                          "the futures chart's tick, which mapped prices are rounded to\n"
                          "(default: the future's usual tick, 0.25 for NQ and ES)",
                          &s->mapping.tickSize));
  }
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
  // Unmapped prices are the underlying's own, which no futures tick applies to.
  if (o.settings.mapping.tickSize > 0 && !o.haveRatio && !o.haveFuturePrice) {
    return text::Fail(error, "--tick-size rounds mapped prices: give --ratio or --future-price with it");
  }
  return true;
}

bool LoadChain(const std::string& command, ChainOptions* options, engine::OptionChain* chain,
               std::string* error) {
  if (!engine::ReadChainFile(options->chain, chain, error)) return false;
  engine::EngineSettings& settings = options->settings;
  // A chain without a usable contract is refused by the engine for that, the weightier reason.
  if (!settings.hasSpot && !chain->hasSpot && !chain->contracts.empty()) {
    return text::Fail(error,
                      "the chain carries no spot price: give --spot S, the underlying's price when the chain "
                      "was saved");
  }
  if (settings.asOf.empty() && chain->asOfText.empty()) {
    const long long now = static_cast<long long>(std::time(nullptr));
    settings.asOf = text::Format("%lld", now);
    settings.asOfNote =
        "now; the chain carries no time: give --as-of, the time the chain was saved, e.g. --as-of \"" +
        FirstExpiration(*chain) + " 10:00\"";
    std::fprintf(stderr,
                 "%s: the chain carries no time and no --as-of was given: using now, %s New York time\n",
                 command.c_str(),
                 formats::NewYorkTimeText(static_cast<double>(now), platform::DefaultServices()).c_str());
  }
  return true;
}

void ReportSkippedRows(const std::string& command, const engine::RowIssues& issues) {
  if (issues.count == 0) return;
  std::fprintf(stderr, "%s: %lld row%s skipped\n", command.c_str(), static_cast<long long>(issues.count),
               issues.count == 1 ? "" : "s");
  // The lines quote the chain file.
  for (const std::string& line : issues.firstFew) PrintLine(stderr, "  " + line);
  if (issues.count > issues.firstFew.size()) std::fputs("  ...\n", stderr);
}

}  // namespace cli
