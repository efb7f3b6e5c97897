#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "json/json_document.h"

namespace json {
namespace {

constexpr ParseResult kParsed = ParseResult::kParsed;
constexpr ParseResult kMalformed = ParseResult::kMalformed;
constexpr ParseResult kOutOfMemory = ParseResult::kOutOfMemory;

TEST(JsonDocument, ResultsAndWhatIsLeft) {
  Document document;
  EXPECT_TRUE(document.empty());
  EXPECT_FALSE(document.Root());
  const std::pair<std::string, ParseResult> cases[] = {
      {"{\"a\":[1]}", kParsed}, {"[1,2", kMalformed}, {"\"s\"", kParsed}, {"", kMalformed}};
  for (const auto& [text, expected] : cases) {
    ASSERT_EQ(document.Parse(text), expected) << text;
    EXPECT_EQ(document.empty(), expected != kParsed) << text;
    EXPECT_EQ(static_cast<bool>(document.Root()), expected == kParsed) << text;
  }
  EXPECT_EQ(document.Parse(nullptr, 3), kMalformed);
  EXPECT_EQ(document.Parse("12345", 3), kParsed);  // the length bounds the text
  EXPECT_EQ(document.Root().number(), 123);
  EXPECT_EQ(document.Parse("[12]", 3), kMalformed);
  EXPECT_TRUE(document.empty());
}

// What each accessor gives for each kind, and for an absent value.
TEST(JsonDocument, AccessorsOnEveryKind) {
  Document document;
  ASSERT_EQ(document.Parse(R"([null,true,false,-2.5,"s\n",[7,8],{"k":9,"k":10}])"), kParsed);
  const Node root = document.Root();
  struct Expected {
    Kind kind;
    bool boolean;
    double number;
    std::string_view text;
    size_t size;
  };
  const Expected expected[] = {{kNull, false, 0, "", 0},      {kBoolean, true, 0, "", 0},
                               {kBoolean, false, 0, "", 0},   {kNumber, false, -2.5, "", 0},
                               {kString, false, 0, "s\n", 0}, {kArray, false, 0, "", 2},
                               {kObject, false, 0, "", 2},    {kNull, false, 0, "", 0}};  // the last: absent
  ASSERT_EQ(root.size(), 7u);
  for (size_t i = 0; i < std::size(expected); ++i) {
    const Node node = root.ElementAt(i);
    EXPECT_EQ(static_cast<bool>(node), i < 7) << i;
    EXPECT_EQ(node.kind(), expected[i].kind) << i;
    EXPECT_EQ(node.boolean(), expected[i].boolean) << i;
    EXPECT_EQ(node.number(), expected[i].number) << i;
    EXPECT_EQ(node.text(), expected[i].text) << i;
    EXPECT_EQ(node.size(), expected[i].size) << i;
    EXPECT_EQ(node.Elements().size(), node.IsArray() ? node.size() : 0) << i;
    EXPECT_EQ(node.Pairs().size(), node.IsObject() ? node.size() : 0) << i;
    EXPECT_FALSE(node.ElementAt(node.size())) << i;
    EXPECT_FALSE(node.PairAt(node.size()).value) << i;
  }
  EXPECT_EQ(root.ElementAt(5).ElementAt(1).number(), 8);
  EXPECT_FALSE(root.ElementAt(6).ElementAt(0));     // an object has no elements
  EXPECT_FALSE(root.ElementAt(5).PairAt(0).value);  // an array has no pairs
  EXPECT_EQ(root.ElementAt(6).PairAt(1).value.number(), 10);
}

// Strings and keys without escapes are views into the text; the others are decoded apart.
TEST(JsonDocument, StringsViewTheTextUnlessEscaped) {
  const std::string text = R"({"plain":"text","esc\u0041ped":"a\"b","":"")";
  Document document;
  const std::string whole = text + "}";
  ASSERT_EQ(document.Parse(whole), kParsed);
  const auto inText = [&whole](std::string_view bytes) {
    const char* end = whole.data() + whole.size();
    return bytes.data() >= whole.data() && bytes.data() + bytes.size() <= end;
  };
  const PairRange pairs = document.Root().Pairs();
  const std::vector<Pair> list(pairs.begin(), pairs.end());
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].key, "plain");
  EXPECT_TRUE(inText(list[0].key) && inText(list[0].value.text()));
  EXPECT_EQ(list[1].key, "escAped");
  EXPECT_EQ(list[1].value.text(), "a\"b");
  EXPECT_FALSE(inText(list[1].key) || inText(list[1].value.text()));
  EXPECT_EQ(list[2].key, "");
  EXPECT_EQ(list[2].value.text(), "");
}

std::string Repeated(const std::string& part, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += part;
  return text;
}

// Parsing the same kind of text again reuses the slots; trimming frees them.
TEST(JsonDocument, KeepsItsBuffersBetweenParses) {
  const std::string answer =
      "{\"rows\": [" + Repeated(R"({"strike": 21500.25, "gex": -1.5e9, "tag": "CW"},)", 300) + "0]}";
  Document document;
  ASSERT_EQ(document.Parse(answer), kParsed);
  const size_t kept = document.HeapBytes();
  const Node firstValue = document.Root().PairAt(0).value;
  EXPECT_GT(kept, answer.size() / 2);
  EXPECT_LT(kept, answer.size() * 3);

  ASSERT_EQ(document.Parse(answer), kParsed);
  EXPECT_EQ(document.HeapBytes(), kept);
  EXPECT_EQ(document.Root().PairAt(0).value, firstValue);  // the same slot, not a new block
  ASSERT_EQ(document.Parse("[1]"), kParsed);
  EXPECT_EQ(document.HeapBytes(), kept);

  document.TrimMemory(kept);
  EXPECT_FALSE(document.empty());
  EXPECT_EQ(document.HeapBytes(), kept);
  document.TrimMemory(kept - 1);
  EXPECT_TRUE(document.empty());
  EXPECT_EQ(document.HeapBytes(), 0u);
  ASSERT_EQ(document.Parse(answer), kParsed);
  document.ReleaseMemory();
  EXPECT_TRUE(document.empty());
  EXPECT_EQ(document.HeapBytes(), 0u);
}

// Under any limit below what a text needs, the parse reports the memory, never the text, and
// holds no more than the limit. The shapes make each buffer grow: the stack (a long flat
// array), the slot array (a table of short rows), the arena (escaped strings, a long key).
TEST(JsonDocument, MemoryLimitIsReportedApartFromMalformedText) {
  const std::string row = "[" + Repeated("1.5,", 30) + "2]";
  const std::string shapes[] = {
      "[" + Repeated("1,", 50000) + "1]",
      "[" + Repeated(row + ",", 2000) + row + "]",
      "[" + Repeated("\"\\u00e9\\u00e9 \\\"quoted\\\"\",", 3000) + "0]",
      "{\"" + std::string(70000, 'k') + "\":1}",
  };
  for (const std::string& text : shapes) {
    Document unlimited;
    ASSERT_EQ(unlimited.Parse(text), kParsed) << text.substr(0, 20);
    const size_t needed = unlimited.HeapBytes();
    for (size_t limit = 0; limit < needed; limit += needed / 16 + 1) {
      Document document;
      document.SetMemoryLimit(limit);
      EXPECT_EQ(document.Parse(text), kOutOfMemory) << text.substr(0, 20) << " within " << limit;
      EXPECT_TRUE(document.empty());
      EXPECT_LE(document.HeapBytes(), limit);
      document.SetMemoryLimit(needed);  // the same document parses once the limit allows
      EXPECT_EQ(document.Parse(text), kParsed) << text.substr(0, 20) << " within " << limit;
      EXPECT_EQ(document.Parse(text.substr(0, text.size() - 1)), kMalformed);
    }
  }
}

TEST(JsonDocument, ParseOwnedKeepsTheTextThroughMoves) {
  for (const std::string& text : {std::string("\"short\""), "\"" + std::string(100, 'x') + "\""}) {
    Document document;
    ASSERT_EQ(document.ParseOwned(text), kParsed);
    Document moved(std::move(document));
    EXPECT_TRUE(document.empty());  // NOLINT(bugprone-use-after-move): moved-from is empty
    EXPECT_EQ(moved.Root().text(), text.substr(1, text.size() - 2));
    Document assigned;
    assigned = std::move(moved);
    EXPECT_EQ(assigned.Root().text(), text.substr(1, text.size() - 2));
    const size_t withText = assigned.HeapBytes();
    ASSERT_EQ(assigned.Parse("1"), kParsed);  // the text handed over earlier is let go
    EXPECT_EQ(assigned.HeapBytes() < withText, text.size() > 16) << text;
    EXPECT_EQ(assigned.ParseOwned("[1,"), kMalformed);
    EXPECT_TRUE(assigned.empty());
  }
}

}  // namespace
}  // namespace json
