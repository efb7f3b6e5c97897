// The expiry book of a research answer as research panel lines: coverage and provenance, the
// served expiries through the chosen expiry lens, their summed model aggregates and, for the
// level inspector, the book row at one exact underlying strike.
#pragma once

#include <string>
#include <vector>

#include "payload/research_answer.h"

namespace research {

enum ExpiryLens : int {
  kLensZeroDte = 0,
  kLensWeekThroughFriday = 1,
  kLensNextThirdFriday = 2,
  kLensAvailable = 3,
};

// The lens of the "Expiry selection" index, clamped to the four entries of the list.
ExpiryLens ClampExpiryLens(int lensIndex);

// "0DTE", "Week through Friday", "Next available third Friday" or "Available expiries".
const char* ExpiryLensName(ExpiryLens lens);

// Appends the lines of an accepted research answer's expiry `book`: the per-expiry sums with
// `lensOn`, the exact-strike rows with `inspectorOn`. Returns false when `researchDay` is not a
// valid date: the book's header lines are then the last research lines.
bool AppendExpiryBookLines(const payload::ExpiryBook& book, bool lensOn, bool inspectorOn, int lensIndex,
                           double inspectorStrike, const std::string& researchDay,
                           std::vector<std::string>* lines);

}  // namespace research
