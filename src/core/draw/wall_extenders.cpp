// Gamma strikes beyond the call and put walls, numbered outwards from each wall.
#include <algorithm>
#include <functional>
#include <vector>

#include "draw/chart_layers.h"
#include "palette/line_plan.h"
#include "palette/subgraphs.h"
#include "text/format.h"

namespace draw {
namespace {

static_assert(payload::kMaxExtendersPerSide <= palette::LineCount(palette::kLbPutExtenders));
static_assert(payload::kMaxExtendersPerSide <= palette::LineCount(palette::kLbCallExtenders));

// The first min(perSide, count) stored strikes, nearest the wall first.
template <typename Nearer>
std::vector<double> ExtenderStrikes(const std::array<double, payload::kMaxExtendersPerSide>& strikes,
                                    uint32_t count, int perSide, Nearer nearer) {
  const uint32_t k = std::min({static_cast<uint32_t>(perSide), count, payload::kMaxExtendersPerSide});
  std::vector<double> taken(strikes.begin(), strikes.begin() + k);
  std::stable_sort(taken.begin(), taken.end(), nearer);
  return taken;
}

void DrawSide(PassContext& pass, const std::vector<double>& strikes, palette::LineBlock lines, int subgraph,
              const char* format) {
  for (size_t i = 0; i < strikes.size(); ++i) {
    DrawOverlayLine(pass, palette::LineNumber(lines, static_cast<int>(i)), strikes[i], subgraph, 2,
                    text::Format(format, static_cast<int>(i) + 1));
  }
}

}  // namespace

void DrawWallExtenders(PassContext& pass, const LevelsSnapshot& s) {
  const int perSide = pass.settings.wallExtenders;
  if (perSide <= 0) return;
  // The put wall lies above its extenders and the call wall below its own.
  DrawSide(pass, ExtenderStrikes(s.putExtenderStrike, s.putExtenderCount, perSide, std::greater<double>()),
           palette::kLbPutExtenders, palette::kSgWallExtenderPut, "PW-%d");
  DrawSide(pass, ExtenderStrikes(s.callExtenderStrike, s.callExtenderCount, perSide, std::less<double>()),
           palette::kLbCallExtenders, palette::kSgWallExtenderCall, "CW+%d");
}

}  // namespace draw
