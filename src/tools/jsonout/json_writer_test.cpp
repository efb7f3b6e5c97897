#include "jsonout/json_writer.h"

#include <gtest/gtest.h>

#include "json/json_test_support.h"

namespace jsonout {
namespace {

TEST(JsonWriter, EscapesQuotesBackslashesAndControlBytes) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain", "\"plain\""},
      {"say \"hi\"\\", "\"say \\\"hi\\\"\\\\\""},
      {"a\nb\tc\x01", "\"a\\u000ab\\u0009c\\u0001\""},
      {std::string("nul\0x", 5), "\"nul\\u0000x\""},
      {"\x1f/\x7f", "\"\\u001f/\x7f\""},
      {"caf\xc3\xa9 \xf0\x9f\x93\x88", "\"caf\xc3\xa9 \xf0\x9f\x93\x88\""},
  };
  for (const auto& [input, expected] : cases) {
    std::string out;
    JsonWriter(&out).String(input);
    EXPECT_EQ(out, expected) << input;
  }
}

// Bytes from a service answer that are not UTF-8 used to be copied raw, so `inspect` and
// `replay` printed invalid JSON.
TEST(JsonWriter, RegressionInvalidUtf8IsNeverCopiedRaw) {
  const std::pair<std::string, std::string> cases[] = {
      {"a\xff", "\"a\xef\xbf\xbd\""},
      {"\xc0\xaf\"", "\"\xef\xbf\xbd\xef\xbf\xbd\\\"\""},  // overlong '/', then a quote
      {"\xe2\x82\n", "\"\xef\xbf\xbd\\u000a\""},           // cut short before a control byte
      {"\xed\xa0\x80", "\"\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\""},
  };
  for (const auto& [input, expected] : cases) {
    std::string out;
    JsonWriter w(&out, JsonWriter::Layout::kCompact);
    w.BeginObject();
    w.Key(input);
    w.String(input);
    w.EndObject();
    EXPECT_EQ(out, "{" + expected + ":" + expected + "}") << input;
  }
}

TEST(JsonWriter, AppendsToWhatIsAlreadyThere) {
  std::string out = "prefix ";
  JsonWriter w(&out);
  w.BeginArray();
  w.Number(1.5);
  w.EndArray();
  EXPECT_EQ(out, "prefix [\n  1.5\n]");
}

// A parsed value is written back with its pairs in order (duplicates too), its strings decoded
// and re-escaped, and its whole numbers without a fraction.
TEST(JsonWriter, ParsedValuesAreWrittenBackInBothLayouts) {
  struct Case {
    const char* input;
    const char* compact;
    const char* pretty;
  };
  const Case cases[] = {
      {"{\"b\":1,\"a\":[true,null,{\"k\":\"v\"},[]],\"b\":{}}",
       "{\"b\":1,\"a\":[true,null,{\"k\":\"v\"},[]],\"b\":{}}",
       "{\n  \"b\": 1,\n  \"a\": [\n    true,\n    null,\n    {\n      \"k\": \"v\"\n    },\n    []\n  ],\n"
       "  \"b\": {}\n}"},
      {"[2.50, 1e3, -4, -0, 0.1, 9007199254740993, 1e400]", "[2.5,1000,-4,-0,0.1,9007199254740992,null]",
       "[\n  2.5,\n  1000,\n  -4,\n  -0,\n  0.1,\n  9007199254740992,\n  null\n]"},
      {"\"a\\u0041\\n\\\"\"", "\"aA\\u000a\\\"\"", "\"aA\\u000a\\\"\""},
      {"false", "false", "false"},
  };
  for (const Case& c : cases) {
    const json::testing::ParsedJson document(c.input);
    EXPECT_EQ(JsonText(document.root(), JsonWriter::Layout::kCompact), c.compact) << c.input;
    EXPECT_EQ(JsonText(document.root(), JsonWriter::Layout::kPretty), c.pretty) << c.input;
  }
  EXPECT_EQ(JsonText(json::Node(), JsonWriter::Layout::kCompact), "null") << "an absent value";
}

}  // namespace
}  // namespace jsonout
