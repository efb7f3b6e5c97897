#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "json/json_value.h"
#include "text/test_locale.h"

namespace json {
namespace {

Value Parse(std::string_view text) {
  Value value;
  EXPECT_TRUE(ParseJson(text, &value)) << text;
  return value;
}

constexpr double kNone = -999;  // what NumberOfValue leaves in place when there is no number

double NumberOfMember(const std::string& memberJson) {
  const Value object = Parse("{\"v\":" + memberJson + "}");
  double out = kNone;
  return MemberNumber(object, "v", &out) ? out : kNone;
}

TEST(JsonLookup, NumberOfValue) {
  const std::pair<const char*, double> cases[] = {
      {"5", 5}, {"-2.5", -2.5}, {"1e400", kNone}, {"-1e400", kNone}, {"\"abc\"", kNone},
      {"\"\"", kNone}, {"\"12abc\"", 12}, {"\"+1.5\"", 1.5}, {"\".5x\"", 0.5},
      {"\"-3e2 units\"", -300}, {"\" 12\"", kNone}, {"\"-\"", kNone}, {"\".\"", kNone},
      {"\"+abc\"", kNone}, {"\"1e400\"", kNone}, {"\"-inf\"", kNone}, {"\"-nan\"", kNone},
      {"\"nan\"", kNone}, {"\"0x10\"", 16}, {"\"1,5\"", 1}, {"true", kNone}, {"null", kNone},
      {"[1]", kNone}, {"{}", kNone}, {R"({"value":{"price":"42.5"}})", 42.5},
      {R"({"price":null,"level":7})", 7}, {R"({"level":7,"price":8})", 8},
      {R"({"strike":{"level":{"value":2}}})", 2},
      {R"({"price":"abc","value":3})", kNone},  // the first present key decides
      {R"({"price":{},"value":3})", kNone}, {R"({"Price":3})", kNone},
      {R"({"value":1,"value":2})", 1},
  };
  for (const auto& [json, expected] : cases) EXPECT_EQ(NumberOfMember(json), expected) << json;

  double out = kNone;
  EXPECT_FALSE(NumberOfValue(nullptr, &out));
  EXPECT_EQ(out, kNone);
  EXPECT_EQ(NumberOfMember("{\"missing\":1}"), kNone);
}

TEST(JsonLookup, MemberAndDuplicates) {
  const Value object = Parse(R"({"a":1,"b":null,"a":2,"":3})");
  ASSERT_NE(Member(object, "a"), nullptr);
  EXPECT_EQ(Member(object, "a")->number, 1);
  EXPECT_EQ(Member(object, "")->number, 3);
  EXPECT_EQ(Member(object, "b")->kind, kNull);
  EXPECT_EQ(Member(object, "A"), nullptr);
  EXPECT_EQ(Member(object, "a\0"), Member(object, "a"));  // a C string stops at the NUL
  EXPECT_EQ(Member(object, std::string_view("a\0", 2)), nullptr);
  EXPECT_EQ(Member(Parse("[\"a\"]"), "a"), nullptr);
  EXPECT_EQ(Member(Parse("\"a\""), "a"), nullptr);

  Value unbalanced = object;  // a hand-built object whose keys outnumber its members
  unbalanced.members.resize(1);
  EXPECT_EQ(Member(unbalanced, ""), nullptr);
  EXPECT_EQ(Member(unbalanced, "a"), &unbalanced.members[0]);
}

TEST(JsonLookup, MemberIsTrueAndMemberAsText) {
  const Value object = Parse(
      R"({"t":true,"f":false,"one":1,"s":"true","n":null,"text":"a b","price":21500.25,)"
      R"("big":1e20,"small":0.0001,"neg":-0.0,"inf":1e400,"arr":[1]})");
  const std::pair<const char*, bool> truth[] = {
      {"t", true}, {"f", false}, {"one", false}, {"s", false}, {"n", false}, {"missing", false}};
  for (const auto& [key, expected] : truth) EXPECT_EQ(MemberIsTrue(object, key), expected) << key;

  const std::pair<const char*, const char*> texts[] = {
      {"text", "a b"},  {"s", "true"},      {"price", "21500.2"}, {"big", "1e+20"},
      {"small", "0.0001"}, {"neg", "-0"},   {"inf", "inf"},       {"one", "1"},
      {"t", ""},        {"n", ""},          {"arr", ""},          {"missing", ""}};
  for (const auto& [key, expected] : texts) EXPECT_EQ(MemberAsText(object, key), expected) << key;
  EXPECT_EQ(MemberAsText(Parse("[1]"), "0"), "");
}

TEST(JsonLookup, FirstMemberNumberAndFirstPresentMember) {
  const Value object = Parse(R"({"a":null,"b":"x","c":3,"d":4})");
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
  EXPECT_EQ(FirstPresentMember(object, {"a", "missing"}), nullptr);
  EXPECT_EQ(FirstPresentMember(object, keys, 0), nullptr);
  EXPECT_EQ(FirstPresentMember(Parse("[1]"), {"0"}), nullptr);
}

// A host process may run under a locale that writes "0,5"; the reader must not follow it.
TEST(JsonLookup, DecimalCommaLocaleDoesNotReachNumbers) {
  text::testing::ScopedLocale locale(text::testing::kDecimalCommaLocale);
  ASSERT_TRUE(locale.active()) << text::testing::kMissingLocaleHint;
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 0.5);
  ASSERT_STREQ(probe, "0,5") << "the locale switch has no effect on the C library";

  const Value object = Parse(R"({"a":21500.25,"b":"1.5e3","c":0.1234567891})");
  double out = kNone;
  EXPECT_TRUE(MemberNumber(object, "a", &out));
  EXPECT_EQ(out, 21500.25);
  EXPECT_TRUE(MemberNumber(object, "b", &out));
  EXPECT_EQ(out, 1500);
  EXPECT_TRUE(MemberNumber(object, "c", &out));
  EXPECT_EQ(out, 0.1234567891);
  EXPECT_EQ(MemberAsText(object, "a"), "21500.2");
  EXPECT_EQ(MemberAsText(object, "c"), "0.123457");
}

}  // namespace
}  // namespace json
