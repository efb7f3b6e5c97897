// Expiry selections of levels requests and their echo in the sample answers.
#include "service/expiry_request.h"

#include <date/date.h>

#include <algorithm>
#include <chrono>
#include <cmath>

#include "platform/posix/posix_services.h"
#include "text/format.h"

namespace service {
namespace {

using jsonout::JsonNumber;
using jsonout::JsonObject;
using jsonout::JsonString;
using jsonout::JsonStringArray;
using jsonout::SetMember;

constexpr int kServedFridays = 4;
constexpr double kCaptureLagMs = 15 * 60 * 1000.0;
constexpr double kQuoteLagMs = 60 * 1000.0;
constexpr const char* kModes[] = {"legacy", "multi", "specific", "0dte"};

std::string DateText(const date::year_month_day& day) {
  return text::Format("%04d-%02u-%02u", static_cast<int>(day.year()), static_cast<unsigned>(day.month()),
                      static_cast<unsigned>(day.day()));
}

bool IsKnownMode(std::string_view mode) {
  return std::find(std::begin(kModes), std::end(kModes), mode) != std::end(kModes);
}

// Splits at every ',' so that a doubled or trailing comma leaves an empty (invalid) piece.
std::vector<std::string> SplitDates(std::string_view list) {
  std::vector<std::string> pieces;
  size_t start = 0;
  while (true) {
    const size_t comma = list.find(',', start);
    pieces.emplace_back(list.substr(start, comma == std::string_view::npos ? list.npos : comma - start));
    if (comma == std::string_view::npos) return pieces;
    start = comma + 1;
  }
}

bool HasParam(const QueryParams& params, std::string_view key) {
  return std::any_of(params.begin(), params.end(), [&](const auto& pair) { return pair.first == key; });
}

// Strict "YYYY-MM-DD" of a real date from year 1 on.
bool ParseIsoDate(std::string_view text, date::year_month_day* out) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  for (const size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  const auto digits = [&](size_t from, size_t count) {
    int value = 0;
    for (size_t i = from; i < from + count; ++i) value = value * 10 + (text[i] - '0');
    return value;
  };
  const date::year_month_day day{date::year{digits(0, 4)}, date::month{static_cast<unsigned>(digits(5, 2))},
                                 date::day{static_cast<unsigned>(digits(8, 2))}};
  if (digits(0, 4) < 1 || !day.ok()) return false;
  *out = day;
  return true;
}

std::vector<std::string> FridaysFrom(const std::string& isoDate) {
  date::year_month_day first{};
  if (!ParseIsoDate(isoDate, &first)) return {};
  date::sys_days current{first};
  current += date::Friday - date::weekday{current};
  std::vector<std::string> fridays;
  for (int i = 0; i < kServedFridays; ++i, current += date::days{7}) {
    fridays.push_back(DateText(date::year_month_day{current}));
  }
  return fridays;
}

}  // namespace

bool ReadRequestedExpiry(const QueryParams& params, RequestedExpiry* out, std::string* error) {
  RequestedExpiry requested;
  if (HasParam(params, "expiry_mode")) requested.mode = ParamValue(params, "expiry_mode");
  if (!IsKnownMode(requested.mode)) {
    *error = "unknown expiry_mode '" + requested.mode + "'";
    return false;
  }
  if (requested.mode == "multi" && HasParam(params, "expiries")) {
    requested.dates = SplitDates(ParamValue(params, "expiries"));
  } else if (requested.mode == "specific") {
    requested.dates = {ParamValue(params, "expiry")};
  }
  if (requested.dates.size() > kMaxRequestedExpiries) {
    *error = text::Format("more than %d expirations requested", int{kMaxRequestedExpiries});
    return false;
  }
  for (const std::string& date : requested.dates) {
    if (!IsIsoDate(date)) {
      *error = "'" + date + "' is not a YYYY-MM-DD expiration";
      return false;
    }
  }
  std::sort(requested.dates.begin(), requested.dates.end());
  requested.dates.erase(std::unique(requested.dates.begin(), requested.dates.end()), requested.dates.end());
  *out = std::move(requested);
  return true;
}

std::vector<std::string> SelectedExpirations(const RequestedExpiry& requested, double nowSeconds) {
  if (requested.mode == "0dte") return {NewYorkDateText(nowSeconds)};
  if (requested.mode == "multi" && requested.dates.empty()) {
    return FridaysFrom(NewYorkDateText(nowSeconds));
  }
  if (requested.mode == "legacy") return {};
  return requested.dates;
}

void StampExpirySelection(const RequestedExpiry& requested, const std::vector<std::string>& dates,
                          double nowSeconds, jsonout::Tree* root) {
  if (root == nullptr || root->kind != json::kObject) return;
  const double nowMs = std::floor(nowSeconds) * 1000.0;
  jsonout::Tree coverage = JsonObject();
  SetMember(&coverage, "served", JsonNumber(static_cast<double>(dates.size())));
  SetMember(&coverage, "record_expirations", JsonNumber(static_cast<double>(dates.size())));
  jsonout::Tree selection = JsonObject();
  SetMember(&selection, "mode", JsonString(requested.mode));
  SetMember(&selection, "selected_expirations", JsonStringArray(dates));
  SetMember(&selection, "coverage", std::move(coverage));
  SetMember(&selection, "captured_at", JsonNumber(nowMs - kCaptureLagMs));
  SetMember(&selection, "quotes_at", JsonNumber(nowMs - kQuoteLagMs));
  SetMember(root, "expiry_selection", std::move(selection));
  SetMember(root, "selected_expirations", JsonStringArray(dates));
}

bool IsIsoDate(std::string_view text) {
  date::year_month_day day{};
  return ParseIsoDate(text, &day);
}

std::string NewYorkDateText(double utcSeconds) {
  const platform::CivilDate civil = platform::DefaultServices().NewYorkDate(utcSeconds);
  return text::Format("%04d-%02d-%02d", civil.year, civil.month, civil.day);
}

}  // namespace service
