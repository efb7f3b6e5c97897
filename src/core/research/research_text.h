// How research lines write numbers, the same in every locale.
#pragma once

#include <optional>
#include <string>

namespace research {

// "missing" when `value` is absent; otherwise the number in "%.12g" notation (21500.25, 0.3).
std::string FormatOptional(const std::optional<double>& value);

}  // namespace research
