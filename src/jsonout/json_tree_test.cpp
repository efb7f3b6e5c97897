#include "jsonout/json_tree.h"

#include <gtest/gtest.h>

#include "json/json_document.h"

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
    json::Document document;
    ASSERT_EQ(document.Parse(input), json::ParseResult::kParsed) << input;
    const Tree copy = CopyNode(document.Root());
    for (const auto layout : {kCompact, JsonWriter::Layout::kPretty}) {
      EXPECT_EQ(JsonText(copy, layout), JsonText(document.Root(), layout)) << input;
    }
  }
  EXPECT_EQ(CopyNode(json::Node()).kind, json::kNull) << "an absent node";
}

TEST(JsonTree, SetMemberReplacesEveryEarlierPairOfTheKey) {
  json::Document document;
  ASSERT_EQ(document.Parse("{\"a\": 1, \"k\": 2, \"b\": 3, \"k\": 4}"), json::ParseResult::kParsed);
  Tree object = CopyNode(document.Root());
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
      {JsonString("say \"hi\""), "\"say \\\"hi\\\"\""},
      {JsonBool(false), "false"},
      {JsonNumber(1735914600000.0 - 900000), "1735913700000"},
      {JsonNumber(0.25), "0.25"},
      {JsonObject(), "{}"},
      {JsonStringArray({}), "[]"},
      {Tree(), "null"},
  };
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(JsonText(value, kCompact), expected) << expected;
  }
}

}  // namespace
}  // namespace jsonout
