// The bodies the chart page sends: application/x-www-form-urlencoded name=value pairs.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace web {

using FormFields = std::vector<std::pair<std::string, std::string>>;

// The pairs of `body` in order: '&' separates them, the first '=' splits name from value (a
// pair without one has an empty value), '+' reads as a blank and %XX as its byte. Nothing for
// a '%' not followed by two hexadecimal digits.
std::optional<FormFields> ParseForm(std::string_view body);

// The value of the first field named `name`; nothing when there is none.
std::optional<std::string> FormValue(const FormFields& fields, std::string_view name);

}  // namespace web
