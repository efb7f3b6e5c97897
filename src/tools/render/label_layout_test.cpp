#include "render/label_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace render {
namespace {

TEST(LabelLayout, SpreadRowsCentresCrowdedRunsAndKeepsOrder) {
  struct Case {
    const char* name;
    std::vector<double> rows;
    std::vector<double> placed;
  };
  const std::vector<Case> cases = {
      {"apart already", {50, 10, 90}, {50, 10, 90}},
      {"crowded run centred on its rows", {10, 12, 14}, {2, 12, 22}},
      {"input order kept", {14, 10, 12}, {22, 2, 12}},
      {"floor pulls up", {95, 96}, {90, 100}},
      {"ceiling", {-5, 0}, {0, 10}},
      {"runs join when centring makes them meet", {20, 21, 34}, {15, 25, 35}},
  };
  for (const Case& c : cases) {
    const std::vector<double> placed = SpreadRows(c.rows, 10, 0, 100);
    ASSERT_EQ(placed.size(), c.placed.size()) << c.name;
    for (size_t i = 0; i < placed.size(); ++i)
      EXPECT_NEAR(placed[i], c.placed[i], 1e-9) << c.name << " row " << i;
  }
}

LabelRoom Room(double low, double high) {
  LabelRoom room;
  room.rowHeight = 10;
  room.low = low;
  room.high = high;
  room.maxShift = 25;
  room.maxWidth = 100;
  room.separatorWidth = 10;
  return room;
}

std::string Describe(const std::vector<LabelGroup>& groups) {
  std::string out;
  for (const LabelGroup& g : groups) {
    std::string members;
    for (const size_t m : g.members) members += (members.empty() ? "" : "+") + std::to_string(m);
    out += (out.empty() ? "" : " ") + members + "@" + std::to_string(static_cast<int>(std::lround(g.row)));
  }
  return out;
}

std::vector<LabelSlot> Slots(const std::vector<double>& rows, int rank, double width, bool edge = false) {
  std::vector<LabelSlot> slots;
  for (const double row : rows) slots.push_back({row, width, rank, edge});
  return slots;
}

TEST(LabelLayout, GroupsAndRows) {
  struct Case {
    const char* name;
    std::vector<LabelSlot> slots;
    LabelRoom room;
    const char* groups;  // members joined by '+', '@' the centre row, top first
  };
  std::vector<LabelSlot> mixed = Slots({10, 25, 40}, 0, 60);
  for (const LabelSlot& s : Slots({15, 30, 35, 45}, 3, 60)) mixed.push_back(s);
  const std::vector<Case> cases = {
      {"apart labels stay on their rows", Slots({100, 50, 150}, 2, 40), Room(5, 195), "1@50 0@100 2@150"},
      {"two crowded labels share the move", Slots({100, 102}, 2, 40), Room(5, 195), "0@96 1@106"},
      // Core labels are never merged, however far the crowd moves them.
      {"crowded core labels all shown", Slots({100, 101, 102, 103, 104, 105, 106, 107}, 0, 20), Room(5, 195),
       "0@69 1@79 2@89 3@99 4@109 5@119 6@129 7@139"},
      // A merged label wider than the room's limit is not made.
      {"too wide to merge", Slots({100, 100, 100, 100, 100, 100, 100}, 2, 60), Room(5, 195),
       "0@70 1@80 2@90 3@100 4@110 5@120 6@130"},
      // Seven rows of room for three core and four rank-3 labels too wide to merge: the latest
      // rank-3 labels give way.
      {"too many for the room", mixed, Room(5, 45), "0@5 3@15 1@25 4@35 2@45"},
      // Markers stack from the edge; being moved is no crowding for them.
      {"edge markers stack", Slots({5, 5, 5, 5}, 2, 30, true), Room(5, 195), "0@5 1@15 2@25 3@35"},
  };
  for (const Case& c : cases) EXPECT_EQ(Describe(LayOutLabels(c.slots, c.room)), c.groups) << c.name;
}

// Labels of rank above 0 crowding one band merge until none is moved further than maxShift;
// what is shown keeps every label exactly once, none overlapping another.
TEST(LabelLayout, CrowdedBandMergesItsLabels) {
  struct Case {
    const char* name;
    std::vector<LabelSlot> slots;
  };
  std::vector<LabelSlot> withCore = Slots({100, 100.5, 101, 101.5, 102, 102.5, 103, 103.5, 104}, 2, 20);
  withCore[4].rank = 0;
  const std::vector<Case> cases = {
      {"eight at one band", Slots({100, 101, 102, 103, 104, 105, 106, 107}, 2, 20)},
      {"a core label among them", withCore},
      {"more markers than rows", Slots(std::vector<double>(25, 195), 3, 20, true)},
  };
  const LabelRoom room = Room(5, 195);
  for (const Case& c : cases) {
    const std::vector<LabelGroup> groups = LayOutLabels(c.slots, room);
    std::vector<size_t> seen;
    for (size_t i = 0; i < groups.size(); ++i) {
      const LabelGroup& g = groups[i];
      if (i > 0) {
        EXPECT_GE(g.row - groups[i - 1].row, room.rowHeight - 1e-9) << c.name << ": group " << i;
      }
      EXPECT_GE(g.row, room.low - 1e-9) << c.name;
      EXPECT_LE(g.row, room.high + 1e-9) << c.name;
      double width = -room.separatorWidth;
      for (const size_t m : g.members) {
        seen.push_back(m);
        width += c.slots[m].width + room.separatorWidth;
        if (g.members.size() > 1) {
          EXPECT_GT(c.slots[m].rank, 0) << c.name << ": a core label was merged";
        }
        if (!c.slots[m].edge) {
          EXPECT_LE(std::fabs(g.row - c.slots[m].row), room.maxShift + 2) << c.name << " slot " << m;
        }
      }
      EXPECT_LE(width, room.maxWidth) << c.name << ": group " << i;
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen.size(), c.slots.size()) << c.name;
    EXPECT_TRUE(std::adjacent_find(seen.begin(), seen.end()) == seen.end()) << c.name;
    EXPECT_LT(groups.size(), c.slots.size()) << c.name << ": nothing merged";
  }
}

}  // namespace
}  // namespace render
