#include "engine/engine.h"

#include <cmath>

#include "calendar/new_york_calendar.h"
#include "engine/compute_levels.h"
#include "engine/option_symbol.h"
#include "formats/typed_time.h"
#include "text/format.h"

namespace engine {
namespace {

bool ResolveMarket(const OptionChain& chain, const EngineSettings& settings, platform::Services& services,
                   MarketInputs* market, std::string* error) {
  market->spot = settings.hasSpot ? settings.spot : chain.spot;
  if (!settings.hasSpot && !chain.hasSpot) {
    *error = "the chain carries no spot price and none was given";
    return false;
  }
  if (!std::isfinite(market->spot) || market->spot <= 0) {
    *error = "the spot price must be a number above 0";
    return false;
  }
  const std::string& asOf = settings.asOf.empty() ? chain.asOfText : settings.asOf;
  if (asOf.empty()) {
    *error = "the chain carries no time and no as-of time was given";
    return false;
  }
  if (!formats::ParseTypedTime(asOf, services, &market->asOfSeconds)) {
    *error = "unreadable as-of time '" + asOf +
             "': expected a time such as 2025-01-02 10:42:10 (New York), 2025-01-02T15:42:10Z or seconds "
             "since 1970";
    // A slash date alone must tell its own order; 03/04/2025 does not.
    if (asOf.find('/') != std::string::npos)
      *error += " (a slash date with both numbers 12 or less reads two ways)";
    return false;
  }
  market->rate = settings.rate;
  market->dividend = settings.dividend;
  if (!std::isfinite(market->rate) || !std::isfinite(market->dividend) || std::fabs(market->rate) > 1 ||
      std::fabs(market->dividend) > 1) {
    *error = "rate and dividend yield must be decimals between -1 and 1 (0.045 is 4.5 %)";
    return false;
  }
  return true;
}

std::string ExpirationNote(const EngineAnswer& a) {
  const std::vector<std::string>& used = a.expiry.used;
  return text::Format(
      "Computed from %d option contracts over %d expirations, %s through %s; rate %g %%, "
      "dividend yield %g %%.",
      static_cast<long long>(a.priced.contracts.size()), static_cast<long long>(used.size()), used.front(),
      used.back(), a.priced.market.rate * 100, a.priced.market.dividend * 100);
}

void Identify(const OptionChain& chain, const EngineSettings& settings, EngineAnswer* a) {
  a->resolvedSymbol = CanonicalSymbol(settings.symbol.empty() ? chain.underlying : settings.symbol);
  a->mapping = settings.mapping;
  a->mapping.symbol = CanonicalSymbol(a->mapping.symbol);
  if (a->mapping.source == FuturesMapping::Source::kNone) {
    a->requestedSymbol = a->resolvedSymbol;
    return;
  }
  if (a->mapping.symbol.empty()) a->mapping.symbol = FutureSymbolOf(a->resolvedSymbol);
  a->requestedSymbol = a->mapping.symbol;
  a->priceTick = MappedTick(a->mapping, a->requestedSymbol);
}

// Why no expiration is live: the as-of time, how it was chosen and the chain's last expiration.
std::string NothingLive(const std::map<std::string, double>& closes, double asOfSeconds,
                        const EngineSettings& settings, platform::Services& services) {
  std::string message = "no contract expires after the as-of time " +
                        formats::NewYorkTimeText(asOfSeconds, services) + " New York time";
  if (!settings.asOfNote.empty()) message += " (" + settings.asOfNote + ")";
  if (!closes.empty()) message += "; the chain's last expiration is " + closes.rbegin()->first;
  return message;
}

}  // namespace

double SecondsToNextClose(platform::Services& services, double asOfSeconds) {
  const platform::CivilDate today = services.NewYorkDate(asOfSeconds);
  for (int ahead = 0; ahead < 8; ++ahead) {
    const double close =
        calendar::NewYorkWallClockToUtc(services, today.year, today.month, today.day + ahead, 16 * 3600);
    const double noonUtcDay = close - 16 * 3600;  // New York midnight, same UTC date
    const int weekday = (12 - calendar::DaysUntilFriday(std::floor(noonUtcDay / 86400) * 86400)) % 7;
    const bool weekend = weekday < 1 || weekday > 5;
    if (!weekend && close >= asOfSeconds) return close - asOfSeconds;
  }
  return 0;
}

bool RunEngine(const OptionChain& chain, const EngineSettings& settings, platform::Services& services,
               EngineAnswer* out, std::string* error) {
  EngineAnswer a;
  a.issues = chain.issues;
  a.contractsRead = chain.contracts.size();
  if (chain.contracts.empty()) {
    *error = text::Format("no usable contract in the chain (%d rows skipped)",
                          static_cast<long long>(chain.issues.count));
    if (!chain.issues.hint.empty()) *error += ": " + chain.issues.hint;
    return false;
  }
  MarketInputs market;
  if (!ResolveMarket(chain, settings, services, &market, error)) return false;
  Identify(chain, settings, &a);
  if (!ConversionRatio(a.mapping, market.spot, &a.ratio)) {
    *error = "the conversion ratio (or the price it comes from) must be a number above 0";
    return false;
  }
  a.asOfSeconds = market.asOfSeconds;
  a.sessionDate = calendar::NewYorkToday(services, market.asOfSeconds);
  const std::map<std::string, double> closes = ExpiryCloses(chain, services);
  const std::vector<std::string> live = LiveExpirations(chain, closes, market.asOfSeconds, &a.issues);
  if (live.empty()) {
    *error = NothingLive(closes, market.asOfSeconds, settings, services);
    return false;
  }
  if (!ChooseExpirations(settings.expiry, live, a.sessionDate, &a.expiry, error)) return false;
  a.priced = PriceChain(chain, a.expiry.used, closes, market);
  a.rows = ExposuresByStrike(a.priced);
  const double yearsToClose = SecondsToNextClose(services, market.asOfSeconds) / kSecondsPerYear;
  a.levels = ComputeLevels(a.priced, a.rows, yearsToClose);
  a.conversionNote = ConversionNote(a.mapping, a.requestedSymbol, a.resolvedSymbol, market.spot, a.ratio);
  a.mappingNote = MappingNote(a.mapping, a.requestedSymbol, a.resolvedSymbol, market.spot, a.ratio);
  a.expirationNote = ExpirationNote(a);
  *out = std::move(a);
  return true;
}

}  // namespace engine
