// What this program's settings dialog takes (--set, the chart file, the chart page): the ranges
// and choices the study declares, and what the program knows some text inputs name. The
// platform's dialog takes any text; this host sends the study's requests itself, so a service
// address it could never send to is refused where it is typed, not at the first call.
#pragma once

#include "chart/input_edits.h"

namespace chart {

// The study's input that names its levels service.
inline constexpr const char* kApiBaseUrlLabel = "API base URL";

// The dialog's limits: the declared ranges and listed choices, and for kApiBaseUrlLabel a blank
// text (the study then uses its own service) or, blanks around it and trailing '/' aside as the
// study drops them, a URL transport::CheckBaseUrl takes. Linux only: the URL is read as libcurl
// reads it.
ValueLimits DialogLimits();

}  // namespace chart
