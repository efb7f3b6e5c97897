#include "chart/dialog_limits.h"

#include "calendar/expiry_selection.h"
#include "transport/origin_route.h"

namespace chart {
namespace {

// A service URL as the study reads it: blanks around it and trailing '/' dropped, blank for its
// own service.
bool CheckServiceUrl(std::string_view text, std::string* why) {
  std::string url = calendar::TrimBlanks(text);
  while (url.ends_with('/')) url.pop_back();
  return url.empty() || transport::CheckBaseUrl(url, why);
}

constexpr TextRule kTextRules[] = {
    {kApiBaseUrlLabel, "a service URL (blank: the study's own)", CheckServiceUrl},
};

}  // namespace

ValueLimits DialogLimits() { return {true, kTextRules}; }

}  // namespace chart
