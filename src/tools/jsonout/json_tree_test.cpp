#include "jsonout/json_tree.h"

#include <gtest/gtest.h>

#include <cmath>

#include "json/json_test_support.h"

namespace jsonout {
namespace {

constexpr auto kCompact = JsonWriter::Layout::kCompact;

// A copied document writes the same bytes as the document itself, whatever it holds.
TEST(JsonTree, CopiedDocumentsWriteAsTheDocument) {
  const char* inputs[] = {
      "{\"b\": 1, \"a\": [true, false, null, \"x\\u00e9\"], \"b\": {\"c\": [[], {}]}}",
      "[0.1, -0, 12, 1e400, -2.5e-7, \"\\ud83d\\ude00\"]",
      "\"just text\"",
      "{}",
  };
  for (const char* input : inputs) {
    const json::testing::ParsedJson document(input);
    const Tree copy = CopyNode(document.root());
    for (const auto layout : {kCompact, JsonWriter::Layout::kPretty}) {
      EXPECT_EQ(JsonText(copy, layout), JsonText(document.root(), layout)) << input;
    }
  }
  EXPECT_EQ(CopyNode(json::Node()).kind, json::kNull) << "an absent node";
}

TEST(JsonTree, SetMemberReplacesEveryEarlierPairOfTheKey) {
  Tree object = CopyNode(json::testing::ParsedJson("{\"a\": 1, \"k\": 2, \"b\": 3, \"k\": 4}"));
  SetMember(&object, "k", JsonStringArray({"x", "y"}));
  SetMember(&object, "new", JsonBool(true));
  EXPECT_EQ(JsonText(object, kCompact), "{\"a\":1,\"b\":3,\"k\":[\"x\",\"y\"],\"new\":true}");

  Tree array = JsonStringArray({"x"});
  SetMember(&array, "k", JsonNumber(1));
  EXPECT_EQ(JsonText(array, kCompact), "[\"x\"]") << "an array takes no member";
  SetMember(nullptr, "k", JsonNumber(1));
}

TEST(JsonTree, BuiltValuesWriteAsTheirKind) {
  const std::pair<Tree, const char*> cases[] = {
      {JsonBool(false), "false"},         {JsonNumber(1735914600000.0 - 900000), "1735913700000"},
      {JsonNumber(-HUGE_VAL), "null"},  // non-finite numbers have no JSON text
      {JsonNumber(std::nan("")), "null"}, {JsonObject(), "{}"},
      {JsonStringArray({}), "[]"},        {Tree(), "null"},
  };
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(JsonText(value, kCompact), expected) << expected;
  }
}

}  // namespace
}  // namespace jsonout
