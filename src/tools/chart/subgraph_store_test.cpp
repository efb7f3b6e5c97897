#include "chart/subgraph_store.h"

#include <gtest/gtest.h>

namespace chart {
namespace {

// A copy is a store of its own: its colours and values never follow the original's edits.
TEST(SubgraphStore, ACopyNeverSharesItsEntries) {
  SubgraphStore store;
  host::SubgraphDeclaration wall;
  wall.name = "Call Wall";
  wall.colour = {1, 2, 3};
  store.Declare(0, wall);
  store.SetValue(0, 4, 21500.0f, 10);
  SubgraphStore assigned;
  assigned = store;
  const SubgraphStore constructed(store);
  ASSERT_TRUE(store.SetUserColour(0, {9, 9, 9}));
  store.SetValue(0, 4, 1.0f, 10);
  for (const SubgraphStore* copy : {static_cast<const SubgraphStore*>(&assigned), &constructed}) {
    EXPECT_EQ(copy->Colour(0), (host::Rgb{1, 2, 3}));
    EXPECT_EQ(copy->ValueAt(0, 4), 21500.0f);
  }
  EXPECT_EQ(store.Colour(0), (host::Rgb{9, 9, 9}));
  EXPECT_FALSE(store.SetUserColour(kSubgraphCount, {9, 9, 9}));
}

}  // namespace
}  // namespace chart
