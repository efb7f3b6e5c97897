#include <gtest/gtest.h>

#include <string>

#include "json/json_document.h"
#include "text/format.h"

namespace json {
namespace {

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    out += (byte < 0x20 || byte >= 0x7F || c == '"' || c == '\\') ? text::Format("\\x%02X", byte)
                                                                  : std::string(1, c);
  }
  return out + "\"";
}

// A compact rendering of the tree, so that one comparison checks kinds, order and bytes.
std::string Dump(Node v) {
  switch (v.kind()) {
    case kNull: return "null";
    case kBoolean: return v.boolean() ? "true" : "false";
    case kNumber: return text::RoundTripDouble(v.number());
    case kString: return Quoted(v.text());
    case kArray: {
      std::string out = "[";
      for (Node element : v.Elements()) out += (out.size() > 1 ? "," : "") + Dump(element);
      return out + "]";
    }
    default: {
      std::string out = "{";
      for (const Pair& pair : v.Pairs()) {
        out += (out.size() > 1 ? "," : "") + Quoted(pair.key) + ":" + Dump(pair.value);
      }
      return out + "}";
    }
  }
}

constexpr const char* kFails = "<not JSON>";

std::string ParseAndDump(std::string_view text) {
  Document document;
  return document.Parse(text) == ParseResult::kParsed ? Dump(document.Root()) : kFails;
}

struct Case {
  std::string input;
  std::string expected;
};

void ExpectCases(std::initializer_list<Case> cases) {
  for (const Case& c : cases) EXPECT_EQ(ParseAndDump(c.input), c.expected) << "input: " << c.input;
}

TEST(JsonReader, ContainersAndLeniency) {
  ExpectCases({
      {"[1,2,]", "[1,2]"},
      {"[1 , 2 , ]", "[1,2]"},
      {"{\"a\":1,}", "{\"a\":1}"},
      {"{\"a\":1 ,\n}", "{\"a\":1}"},
      {"[,1]", kFails},
      {"[,]", kFails},
      {"{,}", kFails},
      {"[1,,2]", kFails},
      {"{\"a\":1,,}", kFails},
      {"{\"a\":1,\"a\":2}", "{\"a\":1,\"a\":2}"},
      {" \t\r\n{ } ", "{}"},
      {"[ ]", "[]"},
      {"[[],{},\"\"]", "[[],{},\"\"]"},
      {"[1] trailing garbage {", "[1]"},
      {"{\"a\":[true,false,null]}x", "{\"a\":[true,false,null]}"},
      {"truex", "true"},
      {"[truex]", kFails},
      {"[", kFails},
      {"[1", kFails},
      {"[1,", kFails},
      {"[1 2]", kFails},
      {"{", kFails},
      {"{\"a\"", kFails},
      {"{\"a\"}", kFails},
      {"{\"a\":}", kFails},
      {"{\"a\":1", kFails},
      {"{a:1}", kFails},
      {"{\"a\":1 \"b\":2}", kFails},
      {"{\"a\" : 1 , \"b\" : [ ] }", "{\"a\":1,\"b\":[]}"},
      {"tru", kFails},
      {"nul", kFails},
      {"nulL", kFails},
      {"False", kFails},
      {"", kFails},
      {"   ", kFails},
      {std::string("\0[1]", 4), kFails},
      {"\x0B[1]", kFails},  // vertical tab is no JSON white space
  });
}

TEST(JsonReader, Strings) {
  ExpectCases({
      {R"("plain")", R"("plain")"},
      {R"("a\"b\\c\/d")", R"("a\x22b\x5Cc/d")"},
      {R"("\b\f\n\r\t")", R"("\x08\x0C\x0A\x0D\x09")"},
      {R"("\q\x\'")", R"("qx'")"},
      {R"("\u0041\u00e9\u20AC")", R"("A\xC3\xA9\xE2\x82\xAC")"},
      {R"("\u0000")", R"("\x00")"},
      {R"("\u007F\u0080\u07FF\u0800")", R"("\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80")"},
      {R"("\uD83D\uDE00")", R"("\xEF\xBF\xBD\xEF\xBF\xBD")"},
      {R"("\uDBFF|\uD7FF|\uE000")", R"("\xEF\xBF\xBD|\xED\x9F\xBF|\xEE\x80\x80")"},
      {R"("\uFFFF")", R"("\xEF\xBF\xBF")"},
      {R"("\u12")", kFails},
      {R"("\u12G4")", kFails},
      {"\"\\u12", kFails},
      {"\"\\", kFails},
      {"\"unterminated", kFails},
      {"\"raw\x01\tbytes\xFF\xC3\xA9\"", R"("raw\x01\x09bytes\xFF\xC3\xA9")"},
      {std::string("\"nul\0inside\"", 12), R"("nul\x00inside")"},
      {R"({"k\u0041":"v"})", R"({"kA":"v"})"},
  });
}

// The value of each number is ReadNumber's, pinned bit for bit beside it; these are the
// document's side: what a number may look like and where it ends.
TEST(JsonReader, Numbers) {
  ExpectCases({
      {"-0", "-0"},
      {"+1", "1"},
      {"007", "7"},
      {".5", "0.5"},
      {"[1e]", "[1]"},
      {"1E5", "1e+05"},
      {"1e400", "inf"},
      {"0x10", "0"},
      {"[0x10]", kFails},
      {"[-]", kFails},
      {"-inf", kFails},
      {"nan", kFails},
      {"Infinity", kFails},
  });
}

std::string Nested(int depth, const std::string& inner) {
  return std::string(depth, '[') + inner + std::string(depth, ']');
}

TEST(JsonReader, NestingLimit) {
  EXPECT_NE(ParseAndDump(Nested(49, "")), kFails);
  EXPECT_EQ(ParseAndDump(Nested(50, "")), kFails);
  EXPECT_EQ(ParseAndDump(Nested(49, "1")), kFails);
  EXPECT_EQ(ParseAndDump(Nested(48, "1")), Nested(48, "1"));
  std::string objects;
  for (int i = 0; i < 48; ++i) objects += "{\"a\":";
  EXPECT_NE(ParseAndDump(objects + "{}" + std::string(48, '}')), kFails);
  EXPECT_EQ(ParseAndDump(objects + "[1]" + std::string(48, '}')), kFails);
  EXPECT_EQ(ParseAndDump(Nested(100000, "")), kFails);
}

}  // namespace
}  // namespace json
