// The history paths of the live service, for the chart page: a day's captures as time series of
// their levels (/history), and the request both history paths share.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "jsonout/json_writer.h"
#include "live/answer_context.h"
#include "service/fixture_catalogue.h"
#include "store/capture_record.h"

namespace live {

// Points a /history answer holds at most.
inline constexpr size_t kHistoryPointLimit = 500;

// One history request, read and resolved.
struct HistoryDay {
  std::string symbol;                           // as asked
  std::string day;                              // "YYYY-MM-DD"
  std::string source;                           // the configured symbol serving it
  bool mapped = false;                          // prices at each capture's ratio to the future
  double open = 0;                              // 09:30 New York of `day`
  std::vector<store::CaptureSummary> captures;  // the day's, in time order
};

// Reads "symbol" (a configured symbol or future; "source" as for levels) and "day" (New York
// today when missing) and the day's summaries. False with `*refusal` set: 400 for a missing
// symbol or a malformed day, 404 for a symbol not carried, 503 when the history cannot be read.
bool ReadHistoryDay(const AnswerContext& context, const service::FixtureRequest& request, HistoryDay* out,
                    service::FixtureAnswer* refusal);

// The members both history answers open with: "ok", "symbol", "source", "day",
// "conversion_method" and the day's number of "captures".
void WriteHistoryIdentity(jsonout::JsonWriter& w, const HistoryDay& day);

// The series answer: "times" (chain times, seconds since 1970) and, under "series", one list per
// level (null where a capture has none), the spot, the ratio and net GEX and DEX, for the
// captures SpreadOverDay keeps of at most `limit`. Requires: limit >= 3.
std::string HistoryJson(const HistoryDay& day, size_t limit);

// The answer to /history: 200 with HistoryJson, else the refusal of ReadHistoryDay.
service::FixtureAnswer AnswerHistory(const AnswerContext& context, const service::FixtureRequest& request);

}  // namespace live
