#include "chart/drawing_store.h"

#include <gtest/gtest.h>

#include <vector>

namespace chart {
namespace {

host::DrawingRequest Text(int line, const std::string& text) {
  host::DrawingRequest d;
  d.lineNumber = line;
  d.kind = host::DrawingKind::kText;
  d.text = text;
  return d;
}

std::vector<int> LineNumbers(const DrawingStore& store) {
  std::vector<int> lines;
  for (const host::DrawingRequest& d : store.Sorted()) lines.push_back(d.lineNumber);
  return lines;
}

TEST(DrawingStore, SubmitWithSameLineNumberReplacesInPlace) {
  DrawingStore store;
  store.Submit(Text(71400, "first"));
  store.Submit(Text(71000, "line"));
  store.Submit(Text(71400, "second"));
  EXPECT_EQ(LineNumbers(store), (std::vector<int>{71000, 71400}));
  ASSERT_NE(store.Find(71400), nullptr);
  EXPECT_EQ(store.Find(71400)->text, "second");
}

TEST(DrawingStore, DeleteSelectors) {
  struct Case {
    const char* name;
    int selector;
    int line;
    std::vector<int> left;
  };
  const Case cases[] = {
      {"selector 0 deletes that line", 0, 71001, {71000, 71002}},
      {"selector 0 with an unknown line deletes nothing", 0, 5, {71000, 71001, 71002}},
      {"selector -1 with line 0 deletes all", -1, 0, {}},
      {"selector -1 with a line number deletes nothing", -1, 71001, {71000, 71001, 71002}},
      {"another selector deletes nothing", 1, 71001, {71000, 71001, 71002}},
  };
  for (const Case& c : cases) {
    DrawingStore store;
    for (int line : {71000, 71001, 71002}) store.Submit(Text(line, "x"));
    store.Delete(c.selector, c.line);
    EXPECT_EQ(LineNumbers(store), c.left) << c.name;
  }
}

TEST(DrawingStore, FirstTextContainingTakesLowestLineOfTextDrawings) {
  DrawingStore store;
  host::DrawingRequest line = Text(70000, "CW - Call Wall");
  line.kind = host::DrawingKind::kHorizontalLine;
  store.Submit(line);
  store.Submit(Text(71460, "[Hide] Call"));
  store.Submit(Text(71450, "Call Wall 21600"));
  ASSERT_NE(store.FirstTextContaining("Call"), nullptr);
  EXPECT_EQ(store.FirstTextContaining("Call")->lineNumber, 71450);
  EXPECT_EQ(store.FirstTextContaining("nothing like this"), nullptr);
}

}  // namespace
}  // namespace chart
