#include "chart/level_history.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "json/json_document.h"
#include "text/fail.h"

namespace chart {
namespace {

using json::Member;

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// An array of numbers (null read as NaN) into `*out`; false for anything else or more than `limit`.
bool ReadNumbers(json::Node node, size_t limit, std::vector<double>* out) {
  if (!node.IsArray() || node.size() > limit) return false;
  out->clear();
  out->reserve(node.size());
  for (const json::Node value : node.Elements()) {
    if (value.IsNull()) {
      out->push_back(kNone);
    } else if (value.IsNumber() && std::isfinite(value.number())) {
      out->push_back(value.number());
    } else {
      return false;
    }
  }
  return true;
}

bool Ascending(const std::vector<double>& values) {
  for (size_t i = 0; i < values.size(); ++i) {
    if (!std::isfinite(values[i]) || (i > 0 && values[i] <= values[i - 1])) return false;
  }
  return true;
}

// Parses `body` and checks that it is an object whose "ok" is true.
bool ReadAnswer(std::string_view body, json::Document* document, std::string* error) {
  if (document->Parse(body) != json::ParseResult::kParsed || !document->Root().IsObject()) {
    return text::Fail(error, "the answer is not a JSON object");
  }
  if (!Member(document->Root(), "ok").boolean()) return text::Fail(error, "the answer's \"ok\" is not true");
  return true;
}

bool ReadTimes(json::Node root, std::vector<double>* times, std::string* error) {
  if (!ReadNumbers(Member(root, "times"), kMaxHistoryRows, times) || !Ascending(*times)) {
    return text::Fail(
        error, "its \"times\" are not ascending times (at most " + std::to_string(kMaxHistoryRows) + ")");
  }
  return true;
}

}  // namespace

bool ReadLevelHistory(std::string_view body, LevelHistory* out, std::string* error) {
  json::Document document;
  if (!ReadAnswer(body, &document, error)) return false;
  LevelHistory history;
  if (!ReadTimes(document.Root(), &history.times, error)) return false;
  const json::Node series = Member(document.Root(), "series");
  for (size_t i = 0; i < kHistorySeries.size(); ++i) {
    std::vector<double>& level = history.levels[i];
    const json::Node node = Member(series, kHistorySeries[i].key);
    if (node.IsNull()) {
      level.assign(history.times.size(), 0);
      continue;
    }
    if (!ReadNumbers(node, kMaxHistoryRows, &level) || level.size() != history.times.size()) {
      return text::Fail(error, std::string("its series \"") + kHistorySeries[i].key +
                                   "\" does not hold one number per time");
    }
    for (double& value : level) {
      if (!std::isfinite(value)) value = 0;
    }
  }
  *out = std::move(history);
  return true;
}

bool ReadStrikeMatrix(std::string_view body, StrikeMatrix* out, std::string* error) {
  json::Document document;
  if (!ReadAnswer(body, &document, error)) return false;
  const json::Node root = document.Root();
  StrikeMatrix matrix;
  if (!ReadTimes(root, &matrix.times, error)) return false;
  if (!ReadNumbers(Member(root, "ratios"), kMaxHistoryRows, &matrix.ratios) ||
      matrix.ratios.size() != matrix.times.size() ||
      std::any_of(matrix.ratios.begin(), matrix.ratios.end(), [](double r) { return !(r > 0); })) {
    return text::Fail(error, "its \"ratios\" are not one number above 0 per time");
  }
  if (!ReadNumbers(Member(root, "underlying_strikes"), kMaxHistoryStrikes, &matrix.strikes) ||
      !Ascending(matrix.strikes)) {
    return text::Fail(error, "its \"underlying_strikes\" are not ascending prices (at most " +
                                 std::to_string(kMaxHistoryStrikes) + ")");
  }
  const json::Node rows = Member(root, "net_gex");
  if (!rows.IsArray() || rows.size() != matrix.times.size()) {
    return text::Fail(error, "its \"net_gex\" does not hold one row per time");
  }
  for (const json::Node row : rows.Elements()) {
    std::vector<double>& cells = matrix.netGex.emplace_back();
    if (!ReadNumbers(row, kMaxHistoryStrikes, &cells) || cells.size() != matrix.strikes.size()) {
      return text::Fail(error, "a row of its \"net_gex\" does not hold one value per strike");
    }
  }
  *out = std::move(matrix);
  return true;
}

std::vector<int> CaptureAtBars(const std::vector<formats::Bar>& bars, const std::vector<double>& times,
                               double dayEnd) {
  std::vector<int> out(bars.size(), -1);
  for (size_t bar = 0; bar < bars.size(); ++bar) {
    const double time = bars[bar].time;
    if (!formats::HasTime(bars[bar]) || !(time < dayEnd)) continue;
    // The latest capture at or before the bar: the one whose levels the bar traded against.
    const auto after = std::upper_bound(times.begin(), times.end(), time);
    out[bar] = static_cast<int>(after - times.begin()) - 1;
  }
  return out;
}

void FillFromHistory(const std::vector<formats::Bar>& bars, const DayHistory& day, int firstStudyBar,
                     std::vector<std::vector<float>>* values) {
  if (!day.hasLevels) return;
  const std::vector<int> capture = CaptureAtBars(bars, day.levels.times, day.dayEnd);
  const size_t end = std::min(bars.size(), static_cast<size_t>(std::max(firstStudyBar, 0)));
  for (size_t i = 0; i < kHistorySeries.size(); ++i) {
    std::vector<float>& series = (*values)[static_cast<size_t>(kHistorySeries[i].subgraph)];
    for (size_t bar = 0; bar < end; ++bar) {
      if (capture[bar] < 0) continue;
      const double level = day.levels.levels[i][static_cast<size_t>(capture[bar])];
      if (level != 0) series[bar] = static_cast<float>(level);
    }
  }
}

}  // namespace chart
