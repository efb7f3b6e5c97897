// One dated observation of dealer positioning, read alike from a research history row and
// from a live levels answer so that any two can be compared.
#pragma once

#include <optional>
#include <string>

#include "json/json_value.h"

namespace research {

// Fields mirror the JSON keys of a capture object.
struct PositioningCapture {
  std::string session_date;
  std::string source;
  std::string engine;
  std::string conversion_method;
  std::string scope;
  std::string selected_expiration;
  std::string source_snapshot_time;
  std::string regime;
  double ts = 0;         // epoch ms; 0 when missing
  double tick_size = 0;  // the chart's, stamped by the study
  std::optional<double> conversion_ratio;
  std::optional<double> call_wall;
  std::optional<double> put_wall;
  std::optional<double> gamma_flip;
  std::optional<double> net_gex;
};

// The capture in `object`; a null or non-object value gives an all-empty capture (ts 0).
PositioningCapture ParsePositioningCapture(const json::Value* object);

// True when `a` names a full provenance (session date, source, engine, conversion method and
// scope, all non-empty) that `b` shares, with the same selected expiration, both source
// snapshot times set and both conversion ratios above 0.
bool SameProvenance(const PositioningCapture& a, const PositioningCapture& b);

// How far a level moved through the dealers' positioning alone, in chart points at the later
// ratio: both levels compared in underlying units. Absent unless both levels are present;
// 0 when within half of `later.tick_size` (+1e-8). Requires: SameProvenance of the captures.
std::optional<double> PositioningMove(const std::optional<double>& earlierLevel,
                                      const std::optional<double>& laterLevel,
                                      const PositioningCapture& earlier,
                                      const PositioningCapture& later);

}  // namespace research
