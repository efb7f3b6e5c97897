#include "chart/input_sections.h"

#include "study/input_table.h"

namespace chart {
namespace {

using namespace study;

struct SectionSpan {
  InputSlot first;
  InputSlot last;
  const char* name;
};

// By the study's slot names, so that the table of labels, kinds and ranges stays the study's.
constexpr SectionSpan kSections[] = {
    {kApiBaseUrl, kWorkflowPreset, "Service and symbol"},
    {kCaptureChanges, kAlertCooldown, "Research and alerts"},
    {kDrawDailyVolZones, kWallExtenders, "Levels and zones"},
    {kGexHeatmap, kExposureAmounts, "Maps and profiles"},
    {kForecastTouch, kTopStrikesCount, "Levels and zones"},
    {kShowPanel, kWrapPanelText, "Panel"},
    {kCoreExpirations, kCoreSpecificExpiration, "Core expirations"},
    {kPanelState, kFearScore, "Panel"},
    {kScaleGuardLimit, kVerboseLog, "Chart and log"},
};

// Every slot in exactly one span, the spans in slot order.
constexpr bool SectionsCoverEverySlotOnce() {
  int next = 0;
  for (const SectionSpan& span : kSections) {
    if (span.first != next || span.last < span.first) return false;
    next = span.last + 1;
  }
  return next == study::kInputCount;
}
static_assert(SectionsCoverEverySlotOnce(), "each input slot has one section");

}  // namespace

std::string InputSection(int slot, const std::string& label) {
  if (slot < 0 || slot >= study::kInputCount || label != study::kInputTable[slot].label) return "Other";
  for (const SectionSpan& span : kSections) {
    if (slot <= span.last) return span.name;
  }
  return "Other";
}

}  // namespace chart
