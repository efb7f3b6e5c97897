// The exact texts the user sees for dollar amounts, exposure amounts beside prices, prices in
// the chart's format and contract counts. Every number is printed the same in any locale.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/study_host.h"
#include "payload/levels_snapshot.h"

namespace panel {

// A dollar amount the answer may or may not carry; the same shape as a level.
using OptionalMoney = payload::OptionalLevel;

// "+$1.2B", "-$2.5M", "+$3.4k", "+$12"; "n/a" when absent or not finite.
std::string FormatMoney(const OptionalMoney& money);

// " GEX -350.00M" / " DEX 2.4B" for the first pair whose strike is within 0.000001 of `price`;
// the empty text when no pair matches.
std::string FormatExposureSuffix(const payload::StrikeTable& pairs, double price, std::string_view name);

// The price in the chart's own price format; "%.2f" of it when the host gives nothing, so the
// result is never empty.
std::string FormatPriceText(const host::StudyHost& sc, double price);

// "1.5k contracts", "2.0M contracts", "999 contracts" (of the absolute count).
std::string FormatContracts(double count);

}  // namespace panel
