#include "panel/strike_rows.h"

#include <algorithm>

#include "panel/text_format.h"
#include "text/format.h"

namespace panel {
namespace {

constexpr size_t kCompactRows = 5;
// Percentages are 0..100, so ten marks are a full bar; the cap only guards a malformed row.
constexpr int kMaxBarMarks = 10;

std::string IntensityBar(int percent) {
  return std::string(static_cast<size_t>(std::clamp(percent / 10, 1, kMaxBarMarks)), '#');
}

}  // namespace

void AddTopStrikeRows(const host::StudyHost& sc, const payload::LevelsSnapshot& s, bool fullDetail,
                      std::vector<PanelLine>* lines) {
  const size_t count = fullDetail ? s.profileRows.size() : std::min(s.profileRows.size(), kCompactRows);
  for (size_t i = 0; i < count; ++i) {
    const payload::ProfileRow& row = s.profileRows[i];
    const bool above = !s.spot.has || row.price >= s.spot.value;
    const std::string cluster = row.mergedCount > 1 ? text::Format("x%d ", row.mergedCount) : "";
    lines->push_back(MakeLine(text::Format("  %-12s [%3d] %-10s %s%s", FormatPriceText(sc, row.price),
                                           row.percent, IntensityBar(row.percent), cluster, row.tag),
                              above ? kGreen : kRed));
  }
}

}  // namespace panel
