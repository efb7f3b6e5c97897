#include "calendar/expiry_selection.h"

#include <algorithm>

#include "calendar/new_york_calendar.h"
#include "text/ascii.h"
#include "text/format.h"

namespace calendar {
namespace {

constexpr std::string_view kBlanks = " \r\n\t";

using DateList = std::vector<std::string>;

void SortUnique(DateList* dates) {
  std::sort(dates->begin(), dates->end());
  dates->erase(std::unique(dates->begin(), dates->end()), dates->end());
}

DateList SortedCopy(DateList dates) {
  std::sort(dates.begin(), dates.end());
  return dates;
}

std::string Join(const DateList& dates) {
  std::string joined;
  for (size_t i = 0; i < dates.size(); ++i) {
    if (i > 0) joined += ',';
    joined += dates[i];
  }
  return joined;
}

// Every piece between commas, trimmed; empty pieces stay so that they fail validation.
DateList SplitSubset(std::string_view text) {
  DateList pieces;
  for (;;) {
    const size_t comma = text.find(',');
    pieces.push_back(TrimBlanks(text.substr(0, comma)));
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return pieces;
}

// A list the service may legitimately report as served: 1-24 distinct real dates.
bool IsServableList(const DateList& sorted) {
  if (sorted.empty() || sorted.size() > kMaxExpiryDates) return false;
  for (const std::string& date : sorted) {
    if (!IsValidIsoDate(date)) return false;
  }
  return std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end();
}

}  // namespace

std::string TrimBlanks(std::string_view text) { return std::string(text::TrimBlanks(text, kBlanks)); }

std::string ExpiryModeToken(uint32_t mode) {
  switch (mode) {
    case kExpiryMulti: return "multi";
    case kExpirySpecific: return "specific";
    case kExpiryZeroDte: return "0dte";
    default: return "legacy";
  }
}

ExpirySelection BuildExpirySelection(uint32_t modeIndex, std::string_view multiSubsetText,
                                     std::string_view specificText, std::string_view newYorkToday) {
  ExpirySelection selection;
  selection.mode = modeIndex;
  selection.valid = modeIndex <= kExpiryZeroDte;
  if (modeIndex == kExpiryZeroDte) selection.sessionDate = std::string(newYorkToday);

  if (modeIndex == kExpirySpecific) {
    selection.dates.push_back(TrimBlanks(specificText));
  } else if (modeIndex == kExpiryMulti && !TrimBlanks(multiSubsetText).empty()) {
    selection.dates = SplitSubset(multiSubsetText);
  }

  if (selection.dates.size() > kMaxExpiryDates) selection.valid = false;
  for (const std::string& date : selection.dates) {
    if (!IsValidIsoDate(date)) selection.valid = false;
  }
  SortUnique(&selection.dates);
  if (!selection.valid) selection.error = kExpirySelectionError;
  return selection;
}

std::string ExpiryQueryString(const ExpirySelection& selection) {
  if (!selection.valid || selection.mode == kExpiryLegacy) return "";
  std::string query = "&expiry_mode=" + ExpiryModeToken(selection.mode);
  if (selection.mode == kExpiryMulti && !selection.dates.empty()) {
    query += "&expiries=" + Join(selection.dates);
  } else if (selection.mode == kExpirySpecific && selection.dates.size() == 1) {
    query += "&expiry=" + selection.dates.front();
  }
  return query;
}

std::string ExpirySelectionKey(const ExpirySelection& selection) {
  return ExpiryModeToken(selection.mode) + "|" + Join(selection.dates) + "|" + selection.sessionDate;
}

bool ResponseSelectionMatches(const ServedSelection& served, const ExpirySelection& selection) {
  if (!selection.valid) return false;
  if (selection.mode == kExpiryLegacy) return true;
  if (served.mode != ExpiryModeToken(selection.mode)) return false;

  const DateList servedDates = SortedCopy(served.dates);
  if (!IsServableList(servedDates)) return false;
  if (servedDates != SortedCopy(served.rootDates)) return false;
  switch (selection.mode) {
    case kExpiryMulti:
    case kExpirySpecific: return selection.dates.empty() || servedDates == selection.dates;
    case kExpiryZeroDte: return servedDates.size() == 1 && servedDates.front() == selection.sessionDate;
    default: return false;
  }
}

std::string CoreSelectionNote(const ServedSelection& served, const ExpirySelection& selection) {
  return text::Format(
      "Core %s: %s | captured delayed OI | coverage %s/%s (bounded book) | captured ms %s / "
      "quotes ms %s | gamma flip / max pain unavailable | no front-book extended complement",
      ExpiryModeToken(selection.mode), Join(served.dates), served.coverageServed, served.coverageRecorded,
      served.capturedAt, served.quotesAt);
}

}  // namespace calendar
