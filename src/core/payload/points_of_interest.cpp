// "points_of_interest": the three focus levels with their labels and confidence texts.
#include "payload/answer_fields.h"
#include "payload/section_lookup.h"
#include "payload/section_readers.h"
#include "text/format.h"

namespace payload {

bool ParseFocusLevel(json::Node container, std::string_view key, int index, FocusLevel* out) {
  json::Node point = json::Member(container, key);
  if (!point.IsObject()) return false;
  double value = 0;
  if (!json::MemberNumber(point, "value", &value)) return false;
  out->valid = true;
  out->value = value;
  out->label = ServiceText(point, "label");
  out->shortLabel = ServiceText(point, "short_label");
  out->confidence = ServiceText(point, "confidence");
  if (out->label.empty()) out->label = text::Format("Focus %d", index + 1);
  if (out->shortLabel.empty()) out->shortLabel = text::Format("F%d", index + 1);
  return true;
}

void ReadPointsOfInterest(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot) {
  json::Node points = RootIfObjectElseBlock(root, levelBlock, "points_of_interest");
  if (!points.IsObject()) return;
  static constexpr const char* kKeys[kFocusCount] = {"focus_1", "focus_2", "focus_3"};
  for (int i = 0; i < kFocusCount; ++i) {
    ParseFocusLevel(points, kKeys[i], i, &snapshot->focus[i]);
  }
}

}  // namespace payload
