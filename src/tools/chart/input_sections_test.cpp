#include "chart/input_sections.h"

#include <gtest/gtest.h>

namespace chart {
namespace {

TEST(InputSections, TheStudysInputsByTheirSlotAndLabel) {
  struct Case {
    int slot;
    const char* label;
    const char* section;
  };
  const Case cases[] = {
      {0, "API base URL", "Service and symbol"},
      {7, "Workflow preset (Advanced keeps saved display)", "Service and symbol"},
      {8, "Positioning capture changes", "Research and alerts"},
      {32, "Wall extenders (gamma strikes beyond the walls)", "Levels and zones"},
      {33, "GEX heatmap over the chart (net gamma per strike)", "Maps and profiles"},
      {48, "Draw core levels (Call/Put Wall, Gamma Flip)", "Levels and zones"},
      {60, "Panel font size", "Panel"},
      {70, "Panel detail", "Panel"},
      {76, "Verbose Message Log", "Chart and log"},
      // Another study's input, or a label this slot does not carry.
      {0, "Some other study's input", "Other"},
      {77, "Verbose Message Log", "Other"},
      {-1, "API base URL", "Other"},
  };
  for (const Case& c : cases) EXPECT_EQ(InputSection(c.slot, c.label), c.section) << c.slot << " " << c.label;
}

}  // namespace
}  // namespace chart
