#include "payload/strike_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace payload {
namespace {

// The rule the index must keep: the first pair as sent within the tolerance.
const StrikeValue* FirstNearAsSent(const std::vector<StrikeValue>& pairs, double price, double tolerance) {
  for (const StrikeValue& pair : pairs) {
    if (std::fabs(pair.strike - price) < tolerance) return &pair;
  }
  return nullptr;
}

// Random tables with repeated strikes, strikes closer than the tolerance, strikes sent out of
// order and strikes that are not numbers, looked up at strikes, beside them and between them.
TEST(StrikeTable, FindsWhatAScanOfThePairsAsSentFinds) {
  constexpr double kTolerance = 0.000001;
  const double odd[] = {std::nan(""), std::numeric_limits<double>::infinity(), -0.0};
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    std::vector<StrikeValue> pairs;
    const int count = static_cast<int>(random() % 40);
    for (int i = 0; i < count; ++i) {
      double strike = 21000 + static_cast<int>(random() % 20) * 5;
      if (random() % 4 == 0) strike += (static_cast<int>(random() % 5) - 2) * 4e-7;
      if (random() % 20 == 0) strike = odd[random() % 3];
      pairs.push_back({strike, static_cast<double>(i)});
    }
    const StrikeTable table(pairs);
    for (int probe = 0; probe < 30; ++probe) {
      double price =
          21000 + static_cast<int>(random() % 22) * 5 + (static_cast<int>(random() % 7) - 3) * 3e-7;
      if (probe == 0) price = std::nan("");
      const StrikeValue* expected = FirstNearAsSent(pairs, price, kTolerance);
      const StrikeValue* found = table.FindNear(price, kTolerance);
      ASSERT_EQ(found == nullptr, expected == nullptr) << "round " << round << " price " << price;
      if (found != nullptr) {
        EXPECT_EQ(found->value, expected->value) << "round " << round << " price " << price;
      }
    }
  }
}

TEST(StrikeTable, KeepsThePairsAsSentThroughCopies) {
  StrikeTable table = {{21600, 2}, {21500, 1}};
  const StrikeTable copy = table;
  table = StrikeTable();
  EXPECT_EQ(copy, (std::vector<StrikeValue>{{21600, 2}, {21500, 1}}));
  ASSERT_NE(copy.FindNear(21500, 0.5), nullptr);
  EXPECT_EQ(copy.FindNear(21500, 0.5)->value, 1);
  EXPECT_EQ(table.FindNear(21500, 0.5), nullptr);
}

}  // namespace
}  // namespace payload
