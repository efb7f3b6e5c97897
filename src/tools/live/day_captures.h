// A day's captures as the answers of the live service show them: which of them a bounded answer
// keeps, and the prices they are shown in (the underlying's, or its future's at each capture's
// own ratio).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "store/capture_record.h"

namespace live {

// Which of `count` captures in time order a bounded answer keeps, ascending: all of them when
// there are at most `limit`, else `limit` spread evenly over the day, the first and the last
// always kept and so is `mustKeep` when it is below `count` (the session's first capture).
// Requires: limit >= 3.
std::vector<size_t> SpreadOverDay(size_t count, size_t limit, size_t mustKeep);

// The index of the first capture at or after `time` (seconds since 1970) in `day`, which is in
// time order; day.size() when there is none.
size_t FirstAtOrAfter(const std::vector<store::CaptureSummary>& day, double time);

// What prices of `capture` are multiplied by when shown: its ratio to the future for a mapped
// answer, else 1.
double ShownRatio(const store::CaptureSummary& capture, bool mapped);

// `underlyingPrice` as shown at `ratio`: multiplied and rounded to a ten-thousandth, as the
// levels answers round their prices.
double ShownPrice(double underlyingPrice, double ratio);

// "ratio" for a mapped answer, else "none", as the levels answers say it.
const char* ConversionMethod(bool mapped);

// The symbol whose prices an answer shows: the future when mapped, else the underlying.
std::string ShownSymbol(const std::string& underlying, const std::string& future, bool mapped);

}  // namespace live
