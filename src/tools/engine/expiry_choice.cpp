#include "engine/expiry_choice.h"

#include <algorithm>

#include "calendar/new_york_calendar.h"
#include "text/format.h"

namespace engine {
namespace {

bool ValidRequest(const ExpiryRequest& request, std::string* error) {
  const std::string& mode = request.mode;
  if (mode != "legacy" && mode != "multi" && mode != "specific" && mode != "0dte") {
    *error = "unknown expiry mode '" + mode + "'";
    return false;
  }
  if (request.dates.size() > kMaxEchoedExpirations) {
    *error = "more than 24 expirations requested";
    return false;
  }
  for (const std::string& date : request.dates) {
    if (!calendar::IsValidIsoDate(date)) {
      *error = "'" + date + "' is not a YYYY-MM-DD expiration";
      return false;
    }
  }
  // The study's Specific mode sends one date; several are multi's.
  if (mode == "specific" && request.dates.size() != 1) {
    *error = text::Format("a specific expiry takes exactly one date, not %zu (multi takes several)",
                          request.dates.size());
    return false;
  }
  return true;
}

std::vector<std::string> Present(const std::vector<std::string>& wanted,
                                 const std::vector<std::string>& live) {
  std::vector<std::string> used;
  for (const std::string& date : wanted) {
    if (std::binary_search(live.begin(), live.end(), date)) used.push_back(date);
  }
  return used;
}

}  // namespace

bool ChooseExpirations(const ExpiryRequest& request, const std::vector<std::string>& live,
                       const std::string& sessionDate, ExpiryChoice* out, std::string* error) {
  if (!ValidRequest(request, error)) return false;
  std::vector<std::string> dates = request.dates;
  std::sort(dates.begin(), dates.end());
  dates.erase(std::unique(dates.begin(), dates.end()), dates.end());
  ExpiryChoice choice;
  choice.mode = request.mode;
  if (request.mode == "legacy") {
    choice.used = live;
  } else if (request.mode == "multi" && dates.empty()) {
    const size_t n = std::min(live.size(), kMaxEchoedExpirations);
    choice.used.assign(live.begin(), live.begin() + static_cast<std::ptrdiff_t>(n));
    choice.echoed = choice.used;
  } else if (request.mode == "0dte") {
    choice.echoed = {sessionDate};
    choice.used = Present(choice.echoed, live);
  } else {
    choice.echoed = dates;
    choice.used = Present(dates, live);
  }
  if (choice.used.empty()) {
    *error = request.mode == "legacy" ? std::string("no contract expires after the as-of time")
                                      : "the chain has no live contract of the selected expirations";
    return false;
  }
  *out = std::move(choice);
  return true;
}

}  // namespace engine
