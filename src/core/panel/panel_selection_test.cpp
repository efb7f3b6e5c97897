#include "panel/panel_selection.h"

#include <gtest/gtest.h>

#include "host/allocation_counter_test_support.h"

namespace panel {
namespace {

// Wrapping one long line must cost memory in proportion to the line, whatever the width: each
// piece once copied the whole line, so a 40 KB note on a narrow panel took gigabytes.
TEST(WrapPanelLines, CostsMemoryInProportionToTheText) {
  if (!host::testing::AllocationHookAvailable()) GTEST_SKIP() << "the sanitizer owns operator new";
  for (const int columns : {1, 12, 64}) {
    std::vector<PanelLine> lines = {MakeLine(std::string(40000, 'w'), host::Rgb{1, 2, 3})};
    host::testing::StartCountingAllocations();
    const std::vector<PanelLine> wrapped = WrapPanelLines(std::move(lines), columns);
    const host::testing::AllocationCount count = host::testing::StopCountingAllocations();
    ASSERT_EQ(wrapped.size(), 40000u / columns + (40000 % columns != 0)) << columns;
    EXPECT_EQ(wrapped.back().colour, (host::Rgb{1, 2, 3})) << columns;
    // Linear with a generous constant (a piece is a whole line record); the copying version took
    // 40,000 times the text.
    EXPECT_LT(count.bytes, 1000LL * 40000) << columns << " columns";
  }
}

}  // namespace
}  // namespace panel
