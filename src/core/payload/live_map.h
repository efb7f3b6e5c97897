// What the research lines keep of the last accepted levels answer: its positioning capture,
// the identity of the served map and its columnar strike Greeks (in chart units).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "json/json_node.h"
#include "payload/positioning_capture.h"

namespace payload {

// The "display_levels"/"strike_greeks" columns, each element read by the number-of-a-value
// rule (absent when unreadable); a column that is no array is empty.
struct ServedStrikeGreeks {
  std::vector<std::optional<double>> strikes;
  std::vector<std::optional<double>> gamma;
  std::vector<std::optional<double>> delta;
  std::vector<std::optional<double>> vanna;
  std::vector<std::optional<double>> vega;
  std::vector<std::optional<double>> charm;
  std::vector<std::optional<double>> oi;
  std::vector<std::optional<double>> vol;
};

struct LiveMap {
  // The answer as a capture: its "display_levels" block with the provenance taken from the
  // root (session date, resolved symbol, source time, ratio). The tick size is left 0.
  PositioningCapture capture;
  // The root's own fields, as texts.
  std::string resolved_symbol;
  std::string engine;
  std::string conversion_method;
  std::string scope;
  std::string source_snapshot_time;
  std::string selected_expiration;
  // The root's "conversion_ratio", else the block's; absent when neither reads.
  std::optional<double> ratio;
  ServedStrikeGreeks greeks;
};

// The live map of a levels answer root; missing members read as empty or absent.
LiveMap ReadLiveMap(json::Node root);

}  // namespace payload
