// Black-Scholes-Merton prices and Greeks of a European option with a continuous rate and
// dividend yield.
#pragma once

namespace engine {

inline constexpr double kSecondsPerYear = 365.0 * 86400.0;
// No option is priced closer to its expiry than one minute.
inline constexpr double kMinYears = 60.0 / kSecondsPerYear;
// Below this an implied volatility says nothing a model can use (0.1 %).
inline constexpr double kMinSigma = 0.001;

struct OptionInputs {
  double spot = 0;      // > 0
  double strike = 0;    // > 0
  double years = 0;     // raised to kMinYears
  double rate = 0;      // continuous, decimal
  double dividend = 0;  // continuous yield, decimal
  double sigma = 0;     // raised to kMinSigma
  bool isCall = true;
};

// Per one unit of the underlying. Vega is per 1.00 of volatility, charm the change of delta per
// year of time passing (not per year of maturity).
struct OptionGreeks {
  double price = 0;
  double delta = 0;
  double gamma = 0;
  double vega = 0;
  double vanna = 0;  // d delta / d sigma
  double charm = 0;  // d delta / d t
};

// The standard normal distribution function, through erfc so the tails keep their precision.
double NormalCdf(double x);
// The standard normal density.
double NormalPdf(double x);

// Price and Greeks; years and sigma are raised to their minimums first. Requires spot and
// strike above 0.
OptionGreeks BsmGreeks(const OptionInputs& in);

}  // namespace engine
