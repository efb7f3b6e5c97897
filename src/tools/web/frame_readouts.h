// What the page's pointer readouts need beside the picture (the crosshair's price and time, the
// bar under the pointer, the level under it), as members of the frame's JSON object.
#pragma once

#include <vector>

#include "chart/chart_data.h"
#include "host/drawing_request.h"
#include "jsonout/json_writer.h"
#include "platform/services.h"

namespace web {

// Writes the members priceScale (top and bottom pixel rows, high and low prices, as the
// renderer scales the picture, and fitted: false when the user set the scale), priceDecimals, bars (the visible bars from visible.first, each
// [time, open, high, low, close], the time a New York "YYYY-MM-DD hh:mm:ss" through `zone` or
// "" for a bar without one), lastPrice (the last bar's close, null without bars) and levels
// (the horizontal lines that carry a label, each name, price and colour "#rrggbb"; lines
// without a finite price are left out). Requires: `w` is inside an object, before a Key.
void WriteReadouts(jsonout::JsonWriter& w, const chart::ChartData& chart,
                   const std::vector<host::DrawingRequest>& drawings, platform::Services& zone);

}  // namespace web
