// The expiry selection a levels request asks for, and how the sample service honours it: the
// answer names the same mode and the dates it was built from, as the study checks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "jsonout/json_tree.h"
#include "service/fixture_catalogue.h"

namespace service {

inline constexpr size_t kMaxRequestedExpiries = 24;

struct RequestedExpiry {
  std::string mode = "legacy";     // "legacy", "multi", "specific" or "0dte"
  std::vector<std::string> dates;  // sorted, duplicates removed; empty in multi means all
};

// Reads "expiry_mode", "expiries" and "expiry" from the query; no "expiry_mode" reads as
// legacy. False with a reason for an unknown mode, a date that is not a real "YYYY-MM-DD"
// (an empty piece included), more than 24 dates, or "specific" without one valid "expiry".
bool ReadRequestedExpiry(const QueryParams& params, RequestedExpiry* out, std::string* error);

// The expirations the answer is built from: the requested dates; for "0dte" the New York date
// at `nowSeconds`; for "multi" without dates the four Fridays from that date on (the date
// itself when it is a Friday). Empty for legacy.
std::vector<std::string> SelectedExpirations(const RequestedExpiry& requested, double nowSeconds);

// Writes into the answer object `root` the member "expiry_selection" (mode, the dates as
// "selected_expirations", "coverage" with "served" and "record_expirations", and "captured_at"
// and "quotes_at" in epoch milliseconds: 15 and 1 minutes before `nowSeconds`) and the root's
// own "selected_expirations", replacing any there were. Does nothing when root is no object.
void StampExpirySelection(const RequestedExpiry& requested, const std::vector<std::string>& dates,
                          double nowSeconds, jsonout::Tree* root);

// True for a strict ten-character "YYYY-MM-DD" naming a real date from year 1 on.
bool IsIsoDate(std::string_view text);

// The New York civil date at `utcSeconds` as "YYYY-MM-DD".
std::string NewYorkDateText(double utcSeconds);

}  // namespace service
