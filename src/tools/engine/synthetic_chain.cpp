#include "engine/synthetic_chain.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/civil_date.h"
#include "text/format.h"

namespace engine {
namespace {

constexpr int kExpirations = 30;
constexpr int kDailyExpirations = 10;

std::vector<std::string> Expirations() {
  const int64_t first = platform::DaysFromCivil(2025, 1, 2);  // a Thursday
  std::vector<std::string> dates;
  for (int64_t day = first; static_cast<int>(dates.size()) < kExpirations; ++day) {
    const int weekday = static_cast<int>(((day + 4) % 7 + 7) % 7);  // 0 = Sunday
    const bool daily = static_cast<int>(dates.size()) < kDailyExpirations;
    if (weekday == 0 || weekday == 6 || (!daily && weekday != 5)) continue;
    const platform::CivilDate d = platform::CivilFromDays(day);
    dates.push_back(text::Format("%04d-%02d-%02d", d.year, d.month, d.day));
  }
  return dates;
}

// A fixed pseudo-random sequence in [0, 1).
double Ripple(uint64_t* state) {
  *state = *state * 6364136223846793005ULL + 1442695040888963407ULL;
  return static_cast<double>(*state >> 11) / 9007199254740992.0;
}

}  // namespace

OptionChain SyntheticChain(size_t contracts, double spot) {
  OptionChain chain;
  chain.underlying = "QQQ";
  chain.hasSpot = true;
  chain.spot = spot;
  chain.asOfText = "2025-01-02 10:42:10";
  const std::vector<std::string> dates = Expirations();
  const int strikesPerExpiry = std::max<int>(1, static_cast<int>(contracts / (2 * dates.size())));
  uint64_t state = 20250102;
  for (size_t e = 0; e < dates.size(); ++e) {
    const double years = (e + 0.3) / 252.0;
    for (int i = 0; i < strikesPerExpiry; ++i) {
      const double strike = std::round(spot) + (i - strikesPerExpiry / 2);
      if (strike <= 0) continue;
      const double moneyness = std::log(strike / spot) / std::sqrt(years + 0.02);
      const double iv = std::clamp(0.17 - 0.08 * moneyness + 0.05 * moneyness * moneyness, 0.08, 1.2);
      const long long whole = static_cast<long long>(strike);
      const double roundness = (whole % 10 == 0 ? 4.0 : whole % 5 == 0 ? 2.5 : 1.0);
      const double base = 3000.0 * std::exp(-std::fabs(std::log(strike / spot)) * 12.0) * roundness;
      for (OptionKind kind : {OptionKind::kCall, OptionKind::kPut}) {
        const bool outOfTheMoney = (kind == OptionKind::kCall) == (strike >= spot);
        OptionContract c;
        c.expiration = dates[e];
        c.strike = strike;
        c.kind = kind;
        c.openInterest = std::round(base * (outOfTheMoney ? 1.0 : 0.35) * (0.7 + 0.6 * Ripple(&state)));
        c.impliedVol = std::round(iv * (0.99 + 0.02 * Ripple(&state)) * 1e4) / 1e4;
        c.volume = std::round(c.openInterest * 0.2 * Ripple(&state));
        chain.contracts.push_back(c);
      }
    }
  }
  return chain;
}

}  // namespace engine
