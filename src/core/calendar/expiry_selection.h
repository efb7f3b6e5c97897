// The user's choice of core option expirations: built from the inputs, rendered as the levels
// URL tail and the request-key part, and checked against what a levels answer says it served.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace calendar {

enum ExpiryMode : uint32_t {
  kExpiryLegacy = 0,
  kExpiryMulti = 1,
  kExpirySpecific = 2,
  kExpiryZeroDte = 3,
};

inline constexpr size_t kMaxExpiryDates = 24;
inline constexpr const char* kExpirySelectionError =
    "Use at most 24 YYYY-MM-DD expirations; Specific requires one date.";

struct ExpirySelection {
  uint32_t mode = kExpiryLegacy;
  bool valid = true;
  std::string sessionDate;         // mode 3: the New York date it was built on
  std::string error;               // kExpirySelectionError when not valid
  std::vector<std::string> dates;  // sorted, unique; empty means all served (mode 1)
};

// The selection for the "Core expirations" choice `modeIndex` and its two text inputs; any
// malformed, impossible or surplus date, or a mode above 3, gives valid = false and the error.
ExpirySelection BuildExpirySelection(uint32_t modeIndex, std::string_view multiSubsetText,
                                     std::string_view specificText, std::string_view newYorkToday);

// "legacy", "multi", "specific" or "0dte"; "legacy" for an unknown mode.
std::string ExpiryModeToken(uint32_t mode);

// The tail appended to the levels URL ("&expiry_mode=multi&expiries=..."); empty for Legacy
// and for an invalid selection.
std::string ExpiryQueryString(const ExpirySelection& selection);

// Mode token, dates joined with ',' and session date, separated by '|'.
std::string ExpirySelectionKey(const ExpirySelection& selection);

// What a levels answer says it served: its "expiry_selection" block and its own
// "selected_expirations", as texts (list elements that are no strings read as "").
struct ServedSelection {
  std::string mode;                    // "mode", a number in "%g" notation
  std::vector<std::string> dates;      // the block's "selected_expirations"
  std::vector<std::string> rootDates;  // the answer's "selected_expirations"
  // Note fields: a number in "%.0f" notation, a text as itself, anything else empty.
  std::string coverageServed;
  std::string coverageRecorded;
  std::string capturedAt;
  std::string quotesAt;
};

// True when the answer served exactly the selected expirations; always true in Legacy mode,
// always false for an invalid selection.
bool ResponseSelectionMatches(const ServedSelection& served, const ExpirySelection& selection);

// The one-line note describing a selection-bound map from what the answer served.
std::string CoreSelectionNote(const ServedSelection& served, const ExpirySelection& selection);

// `text` without leading and trailing blanks, carriage returns, line feeds and tabs.
std::string TrimBlanks(std::string_view text);

}  // namespace calendar
