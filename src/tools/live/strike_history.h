// The /history/strikes path of the live service: net GEX by strike and time over one day, a
// bounded matrix for the chart page's heatmap.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "live/answer_context.h"
#include "live/live_history.h"
#include "service/fixture_catalogue.h"
#include "store/capture_record.h"

namespace live {

// Captures (rows) and strikes (columns) a matrix holds at most.
inline constexpr size_t kStrikeTimeLimit = 120;
inline constexpr size_t kStrikeColumnLimit = 80;

// The matrix answer for `exposures` (captures of `day` in time order, each found among
// day.captures for its ratio): "times", "ratios" (a strike's price at a time is the strike times
// that time's ratio), "underlying_strikes" (the `strikeLimit` strikes nearest the latest spot,
// ascending), "strikes" (the same at the latest ratio) and "net_gex", one list per time, one value
// per strike, summed over expirations (null where the capture has no contract at that strike).
std::string StrikeHistoryJson(const HistoryDay& day, const std::vector<store::CaptureExposures>& exposures,
                              size_t strikeLimit);

// The answer to /history/strikes: 200 with StrikeHistoryJson over at most kStrikeTimeLimit
// captures spread over the day, else the refusal of ReadHistoryDay.
service::FixtureAnswer AnswerStrikeHistory(const AnswerContext& context,
                                           const service::FixtureRequest& request);

}  // namespace live
