// Twelve-year percentile tables of the fear score's statistics (entry i = the value at the
// i-th percentile, non-decreasing) and the lookup that ranks a reading against one.
#pragma once

#include <array>

namespace context {

using PercentileTable = std::array<double, 101>;

const PercentileTable& FlipStressTable();   // (gamma flip - spot) / spot, as a fraction
const PercentileTable& RealizedVolTable();  // annualised five-day realised volatility, fraction
const PercentileTable& VixTable();          // VIX points
const PercentileTable& CompositeTable();    // composite score 0..100

// Rank of x in the table, 0..1, interpolated between neighbouring entries; -1 when x is not
// finite.
double PercentileFromTable(double x, const PercentileTable& table);

}  // namespace context
