// What the live levels service remembers of one New York day, as the chart host reads it: the
// key levels by capture time (/history), the net GEX by strike and time (/history/strikes), and
// which capture was in force when each bar traded.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "formats/bar.h"

namespace chart {

// The /history series that the study also writes into subgraphs, with that subgraph's number.
struct HistorySeriesKey {
  const char* key;
  int subgraph;
};
inline constexpr std::array<HistorySeriesKey, 8> kHistorySeries{{
    {"call_wall", 0},
    {"put_wall", 1},
    {"gamma_flip", 2},
    {"vol_trigger", 3},
    {"max_pain", 4},
    {"call_oi_wall", 5},
    {"put_oi_wall", 6},
    {"zero_dex", 7},
}};

// Captures or strikes an answer may carry before it is refused (the service sends at most 500
// captures and 120 by 80 cells).
inline constexpr size_t kMaxHistoryRows = 2000;
inline constexpr size_t kMaxHistoryStrikes = 1000;

// The levels of a day's captures: one value per capture and series (0 where a capture has none).
struct LevelHistory {
  std::vector<double> times;  // capture times, seconds since 1970, ascending
  std::array<std::vector<double>, kHistorySeries.size()> levels;  // in kHistorySeries order
};

// Net GEX by capture time and strike: a strike's price at a time is strike * ratios[time].
struct StrikeMatrix {
  std::vector<double> times;                // ascending
  std::vector<double> ratios;               // one per time, above 0
  std::vector<double> strikes;              // the underlying's strikes, ascending
  std::vector<std::vector<double>> netGex;  // one row per time, one value per strike; NaN: none
};

// Both answers of one day and the end of that day, when each came.
struct DayHistory {
  std::string day;    // "YYYY-MM-DD", New York
  double dayEnd = 0;  // the next New York midnight, seconds since 1970
  bool hasLevels = false;
  bool hasStrikes = false;
  LevelHistory levels;
  StrikeMatrix strikes;
};

// Reads a /history answer. False with `*error` for text that is not JSON, an answer whose "ok"
// is not true, times that are missing, not ascending or more than kMaxHistoryRows, or a series
// whose length differs from the times'; null or missing series read as absent (0).
bool ReadLevelHistory(std::string_view body, LevelHistory* out, std::string* error);

// Reads a /history/strikes answer. False with `*error` for text that is not JSON, "ok" not true,
// times or strikes that are not ascending or too many, a ratio that is not above 0, or rows of
// the wrong length; a null cell reads as NaN.
bool ReadStrikeMatrix(std::string_view body, StrikeMatrix* out, std::string* error);

// For each bar, the index into `times` (ascending) of the latest capture at or before the bar's
// time, or -1 for a bar without a time, before the first capture or at or after `dayEnd`.
std::vector<int> CaptureAtBars(const std::vector<formats::Bar>& bars, const std::vector<double>& times,
                               double dayEnd);

// Fills, for every bar before `firstStudyBar`, the values of each series (by subgraph number in
// `values`, whose vectors hold one value per bar) from the capture in force at that bar, where
// one is and the capture has the level; later bars and bars without a capture stay as they are.
// Requires: `values` has an entry for every kHistorySeries subgraph, each of bars.size() values.
void FillFromHistory(const std::vector<formats::Bar>& bars, const DayHistory& day, int firstStudyBar,
                     std::vector<std::vector<float>>* values);

}  // namespace chart
