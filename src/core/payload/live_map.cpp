#include "payload/live_map.h"

#include <utility>

#include "payload/answer_fields.h"

namespace payload {
namespace {

// `preferred` unless it is empty, then `fallback`.
std::string OrElse(std::string preferred, std::string fallback) {
  return preferred.empty() ? std::move(fallback) : std::move(preferred);
}

PositioningCapture LiveCapture(json::Node levelsRoot) {
  const json::Node root = levelsRoot;
  PositioningCapture c = ParsePositioningCapture(json::Member(levelsRoot, "display_levels"));
  c.session_date = OrElse(MemberFieldText(root, "session_date"), MemberFieldText(root, "locked_session"));
  c.source = MemberFieldText(root, "resolved_symbol");
  c.engine = OrElse(std::move(c.engine), MemberFieldText(root, "engine"));
  c.conversion_method = OrElse(MemberFieldText(root, "conversion_method"), c.conversion_method);
  c.scope = OrElse(MemberFieldText(root, "scope"), c.scope);
  c.selected_expiration = MemberFieldText(root, "selected_expiration");
  c.source_snapshot_time = MemberFieldText(root, "source_snapshot_time");
  c.ts = TimestampToEpochMs(json::Member(levelsRoot, "source_snapshot_time"));
  if (const std::optional<double> ratio = MemberOptional(root, "conversion_ratio")) {
    c.conversion_ratio = ratio;
  }
  return c;
}

std::vector<std::optional<double>> Column(json::Node greeks, const char* key) {
  std::vector<std::optional<double>> column;
  json::Node list = json::Member(greeks, key);
  if (!list.IsArray()) return column;
  column.reserve(list.size());
  for (const json::Node element : list.Elements()) {
    double number = 0;
    column.push_back(json::NumberOfValue(element, &number) ? std::optional<double>(number) : std::nullopt);
  }
  return column;
}

ServedStrikeGreeks ReadStrikeGreeks(json::Node greeks) {
  ServedStrikeGreeks g;
  g.strikes = Column(greeks, "strikes");
  g.gamma = Column(greeks, "gamma");
  g.delta = Column(greeks, "delta");
  g.vanna = Column(greeks, "vanna");
  g.vega = Column(greeks, "vega");
  g.charm = Column(greeks, "charm");
  g.oi = Column(greeks, "oi");
  g.vol = Column(greeks, "vol");
  return g;
}

}  // namespace

LiveMap ReadLiveMap(json::Node root) {
  LiveMap live;
  live.capture = LiveCapture(root);
  live.resolved_symbol = MemberFieldText(root, "resolved_symbol");
  live.engine = MemberFieldText(root, "engine");
  live.conversion_method = MemberFieldText(root, "conversion_method");
  live.scope = MemberFieldText(root, "scope");
  live.source_snapshot_time = MemberFieldText(root, "source_snapshot_time");
  live.selected_expiration = MemberFieldText(root, "selected_expiration");
  json::Node block = json::Member(root, "display_levels");
  live.ratio = MemberOptional(root, "conversion_ratio");
  if (!live.ratio) live.ratio = MemberOptional(block, "conversion_ratio");
  live.greeks = ReadStrikeGreeks(json::Member(block, "strike_greeks"));
  return live;
}

}  // namespace payload
