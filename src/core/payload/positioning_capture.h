// One dated observation of dealer positioning, read alike from a research history row and from
// a live levels answer so that any two can be compared.
#pragma once

#include <optional>
#include <string>

#include "json/json_node.h"

namespace payload {

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
PositioningCapture ParsePositioningCapture(json::Node object);

}  // namespace payload
