#include <gtest/gtest.h>

#include <string>

#include "json/json_document.h"
#include "json/json_test_support.h"

namespace json {
namespace {

using json::testing::ParsedJson;

bool Present(Node value) { return static_cast<bool>(value); }

constexpr double kNone = -999;  // what NumberOfValue leaves in place when there is no number

TEST(JsonLookup, NumberOfValue) {
  const std::pair<const char*, double> cases[] = {
      {"-2.5", -2.5},
      {"1e400", kNone},
      {"\"abc\"", kNone},
      {"\"\"", kNone},
      {"\"12abc\"", 12},
      {"\"+1.5\"", 1.5},
      {"\".5x\"", 0.5},
      {"\" 12\"", kNone},
      {"\"-\"", kNone},
      {"\"1e400\"", kNone},
      {"\"-nan\"", kNone},
      {"\"nan\"", kNone},
      {"true", kNone},
      {"[1]", kNone},
      {"{}", kNone},
      {R"({"value":{"price":"42.5"}})", 42.5},
      {R"({"price":null,"level":7})", 7},
      {R"({"level":7,"price":8})", 8},
      {R"({"strike":{"level":{"value":2}}})", 2},
      {R"({"price":"abc","value":3})", kNone},  // the first present key decides
      {R"({"price":{},"value":3})", kNone},
      {R"({"Price":3})", kNone},
      {R"({"value":1,"value":2})", 1},
      {R"("\u0031\u0032")", 12},  // decoded text counts
  };
  for (const auto& [json, expected] : cases) {
    const ParsedJson object("{\"v\":" + std::string(json) + "}");
    double out = kNone;
    EXPECT_EQ(MemberNumber(object, "v", &out) ? out : kNone, expected) << json;
    out = kNone;
    EXPECT_FALSE(MemberNumber(object, "missing", &out)) << json;
    EXPECT_FALSE(NumberOfValue(Member(object, "v"), nullptr)) << json;
    EXPECT_EQ(out, kNone) << json;
  }
  double out = kNone;
  EXPECT_FALSE(NumberOfValue(Node{}, &out));
  EXPECT_EQ(out, kNone);
}

TEST(JsonLookup, MemberAndDuplicates) {
  const ParsedJson object(R"({"a":1,"b":null,"a":2,"":3,"k\u00e9":4,"k\u0000":5})");
  ASSERT_TRUE(Present(Member(object, "a")));
  EXPECT_EQ(Member(object, "a").number(), 1);
  EXPECT_EQ(Member(object, "").number(), 3);
  EXPECT_EQ(Member(object, "k\xC3\xA9").number(), 4);  // escaped keys match their decoded bytes
  EXPECT_EQ(Member(object, std::string_view("k\0", 2)).number(), 5);
  EXPECT_EQ(Member(object, "b").kind(), kNull);
  EXPECT_FALSE(Present(Member(object, "A")));
  EXPECT_EQ(Member(object, "a\0"), Member(object, "a"));  // a C string stops at the NUL
  EXPECT_FALSE(Present(Member(object, std::string_view("a\0", 2))));
  EXPECT_FALSE(Present(Member(object, "k")));
  EXPECT_FALSE(Present(Member(ParsedJson("[\"a\"]"), "a")));
  EXPECT_FALSE(Present(Member(ParsedJson("\"a\""), "a")));
}

TEST(JsonLookup, MemberIsTrueAndMemberAsText) {
  const ParsedJson object(R"({"t":true,"f":false,"one":1,"s":"true","n":null,"text":"a b","price":21500.25,)"
                          R"("arr":[1],"esc":"a\tb"})");
  const std::pair<const char*, bool> truth[] = {{"t", true},  {"f", false}, {"one", false},
                                                {"s", false}, {"n", false}, {"missing", false}};
  for (const auto& [key, expected] : truth) EXPECT_EQ(MemberIsTrue(object, key), expected) << key;

  const std::pair<const char*, const char*> texts[] = {{"text", "a b"}, {"s", "true"},   {"price", "21500.2"},
                                                       {"one", "1"},    {"t", ""},       {"n", ""},
                                                       {"arr", ""},     {"missing", ""}, {"esc", "a\tb"}};
  for (const auto& [key, expected] : texts) EXPECT_EQ(MemberAsText(object, key), expected) << key;
  EXPECT_EQ(MemberAsText(ParsedJson("[1]"), "0"), "");
}

TEST(JsonLookup, FirstMemberNumberAndFirstPresentMember) {
  const ParsedJson object(R"({"a":null,"b":"x","c":3,"d":4})");
  double out = kNone;
  EXPECT_TRUE(FirstMemberNumber(object, {"missing", "a", "b", "c", "d"}, &out));
  EXPECT_EQ(out, 3);
  EXPECT_TRUE(FirstMemberNumber(object, {nullptr, "d"}, &out));
  EXPECT_EQ(out, 4);
  out = kNone;
  EXPECT_FALSE(FirstMemberNumber(object, {"a", "b"}, &out));
  EXPECT_FALSE(FirstMemberNumber(object, {}, &out));
  const char* keys[] = {"c"};
  EXPECT_FALSE(FirstMemberNumber(object, keys, 0, &out));
  EXPECT_FALSE(FirstMemberNumber(object, keys, -1, &out));
  EXPECT_FALSE(FirstMemberNumber(object, nullptr, 3, &out));
  EXPECT_EQ(out, kNone);

  EXPECT_EQ(FirstPresentMember(object, {"missing", "a", "b", "c"}), Member(object, "b"));
  EXPECT_EQ(FirstPresentMember(object, {nullptr, "d"}), Member(object, "d"));
  EXPECT_FALSE(Present(FirstPresentMember(object, {"a", "missing"})));
  EXPECT_FALSE(Present(FirstPresentMember(object, keys, 0)));
  EXPECT_FALSE(Present(FirstPresentMember(object, nullptr, 1)));
  EXPECT_FALSE(Present(FirstPresentMember(ParsedJson("[1]"), {"0"})));
}

}  // namespace
}  // namespace json
