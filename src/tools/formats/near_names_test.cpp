#include "formats/near_names.h"

#include <gtest/gtest.h>

namespace formats {
namespace {

TEST(NearNames, EditDistanceCountsASwapOfNeighboursAsOneEdit) {
  struct Case {
    const char* a;
    const char* b;
    size_t edits;
  };
  const Case cases[] = {
      {"", "", 0},        {"port", "port", 0},      {"prot", "port", 1}, {"widht", "width", 1},
      {"port", "pot", 1}, {"port", "ports", 1},     {"port", "fort", 1}, {"", "abc", 3},
      {"abc", "cba", 2},  {"kitten", "sitting", 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EditDistance(c.a, c.b), c.edits) << c.a << " / " << c.b;
    EXPECT_EQ(EditDistance(c.b, c.a), c.edits) << c.b << " / " << c.a;
  }
}

TEST(NearNames, SlipsOfTheWholeNameComeBeforePartsOfOne) {
  const std::vector<std::string> labels = {
      "Line width",         "Label lines on the chart",   "Panel font size",
      "Panel line spacing", "Refresh interval (seconds)", "Panel anchor"};
  struct Case {
    const char* typed;
    std::vector<std::string> nearest;
  };
  const Case cases[] = {
      {"Line widht", {"Line width"}},
      {"line width", {"Line width"}},
      {"  LINE WIDTH ", {"Line width"}},
      {"Line",
       {"Line width", "Label lines on the chart", "Panel line spacing"}},  // begins with it, then holds it
      {"Panel", {"Panel font size", "Panel line spacing", "Panel anchor"}},
      {"font size", {"Panel font size"}},                     // a name holds it
      {"Refresh intervall", {"Refresh interval (seconds)"}},  // begins within an edit of it
      {"Panel fnt size", {"Panel font size"}},
      {"Colour", {}},
      {"Li", {}},  // too short to stand for a part of a name
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(NearestNames(c.typed, labels, 3), c.nearest) << c.typed;
  EXPECT_EQ(NearestNames("Panel", labels, 1), std::vector<std::string>{"Panel font size"});
  EXPECT_TRUE(NearestNames(std::string(200000, 'x'), labels, 3).empty()) << "a long text costs nothing";
}

}  // namespace
}  // namespace formats
