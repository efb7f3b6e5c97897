#include "live/day_captures.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "text/format.h"

namespace live {
namespace {

std::string Joined(const std::vector<size_t>& indices) {
  std::string out;
  for (const size_t i : indices) out += (out.empty() ? "" : ",") + std::to_string(i);
  return out;
}

TEST(SpreadOverDay, KeepsTheEndsAndTheOneThatMustStay) {
  constexpr size_t kNone = 1000;
  const struct {
    size_t count, limit, mustKeep;
    const char* kept;
  } cases[] = {
      {0, 3, kNone, ""},         {3, 3, kNone, "0,1,2"},
      {10, 4, kNone, "0,3,6,9"}, {10, 4, 6, "0,3,6,9"},  // already kept
      {10, 4, 5, "0,5,6,9"},                             // the kept one before it gives way
      {10, 4, 1, "0,1,6,9"},                             // the first stays: the one after gives way
      {10, 4, 8, "0,3,8,9"},     {5, 3, 3, "0,3,4"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Joined(SpreadOverDay(c.count, c.limit, c.mustKeep)), c.kept)
        << c.count << " " << c.limit << " " << c.mustKeep;
  }
}

TEST(SpreadOverDay, ALargeDayKeepsExactlyTheLimitInOrder) {
  for (const size_t mustKeep : {size_t{0}, size_t{1}, size_t{22}, size_t{425}, size_t{426}}) {
    const std::vector<size_t> kept = SpreadOverDay(427, 240, mustKeep);
    ASSERT_EQ(kept.size(), 240u) << mustKeep;
    EXPECT_TRUE(std::adjacent_find(kept.begin(), kept.end(), std::greater_equal<>()) == kept.end())
        << mustKeep;
    EXPECT_EQ(kept.front(), 0u) << mustKeep;
    EXPECT_EQ(kept.back(), 426u) << mustKeep;
    EXPECT_TRUE(std::binary_search(kept.begin(), kept.end(), mustKeep)) << mustKeep;
  }
}

}  // namespace
}  // namespace live
