// Both readers over the same texts: the fuzz corpus, the sample answers, hand-made edge cases
// and generated texts. They must agree on the outcome and, after a parse, on every value
// (numbers bit for bit, strings byte for byte, pairs in order) and every lookup.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "json/json_tree_compare.h"

namespace json {
namespace {

namespace fs = std::filesystem;

// Counts what the texts of one test did, so that a test can insist on both outcomes.
struct Tally {
  int parsed = 0;
  int failed = 0;
};

// Parses an exact-size heap copy of `text`, so that a read past its end is caught by the
// address sanitizer, and returns the first disagreement (empty when none).
std::string Disagreement(std::string_view text, Document* document, Tally* tally = nullptr) {
  auto bytes = std::make_unique<char[]>(text.size() + 1);  // never a zero-size block
  if (!text.empty()) std::memcpy(bytes.get(), text.data(), text.size());
  const std::string_view exact(text.empty() ? nullptr : bytes.get(), text.size());
  std::string difference = testing::ReadersDisagree(exact, document);
  if (tally != nullptr) ++(document->empty() ? tally->failed : tally->parsed);
  return difference;
}

std::string Shown(std::string_view text) {
  return text.size() <= 120 ? std::string(text) : std::string(text.substr(0, 120)) + "...";
}

std::vector<fs::path> FilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  return files;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

const fs::path kRepository = fs::path(__FILE__).parent_path() / ".." / "..";

// Whole files, every prefix near both ends and a spread of prefixes between, and copies with
// single bytes replaced by structural ones.
void ExpectAgreementOnFile(const fs::path& path, Document* document, Tally* tally) {
  const std::string text = ReadFile(path);
  ASSERT_FALSE(text.empty()) << path;
  EXPECT_EQ(Disagreement(text, document, tally), "") << path;
  for (size_t cut = 0; cut < text.size(); ++cut) {
    const bool nearEnd = cut < 128 || text.size() - cut < 128;
    if (!nearEnd && cut % 97 != 0) continue;
    ASSERT_EQ(Disagreement(std::string_view(text).substr(0, cut), document, tally), "")
        << path << " cut at " << cut;
  }
  std::mt19937 random(static_cast<unsigned>(text.size()));
  constexpr std::string_view kReplacements = "{}[],:\"\\ 0e.-+tn\x01";
  for (int n = 0; n < 60; ++n) {
    std::string mutated = text;
    mutated[random() % mutated.size()] = kReplacements[random() % kReplacements.size()];
    ASSERT_EQ(Disagreement(mutated, document, tally), "") << path << " mutated: " << Shown(mutated);
  }
}

TEST(JsonReadersAgree, OnTheFuzzCorpusAndTheSampleAnswers) {
  Document document;  // one document for all: nothing of an earlier text may leak through
  Tally tally;
  int files = 0;
  for (const char* folder : {"fuzz/corpus/json", "data/answers"}) {
    for (const fs::path& path : FilesIn(kRepository / folder)) {
      ExpectAgreementOnFile(path, &document, &tally);
      ++files;
    }
  }
  EXPECT_GE(files, 30);
  EXPECT_GT(tally.parsed, 100);
  EXPECT_GT(tally.failed, 1000);
}

std::string Nested(int depth, const std::string& open, const std::string& inner,
                   const std::string& close) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += open;
  text += inner;
  for (int i = 0; i < depth; ++i) text += close;
  return text;
}

std::vector<std::string> EdgeCases() {
  std::vector<std::string> cases = {
      // containers and leniency
      "[1,2,]", "[1 , 2 , ]", "{\"a\":1,}", "{\"a\":1 ,\n}", "[,1]", "[,]", "{,}", "[1,,2]",
      "{\"a\":1,,}", "{\"a\":1,\"a\":2}", " \t\r\n{ } ", "[ ]", "[[],{},\"\"]",
      "[1] trailing garbage {", "{\"a\":[true,false,null]}x", "truex", "[truex]", "[", "[1",
      "[1,", "[1, ", "[1 2]", "{", "{ ", "{\"a\"", "{\"a\"}", "{\"a\":}", "{\"a\":1", "{a:1}",
      "{\"a\":1 \"b\":2}", "{\"a\" : 1 , \"b\" : [ ] }", "{1:2}", "{\"a\"::1}", "{,\"a\":1}",
      "{\"a\":[1,],}", "{\"\":{\"\":{\"\":[]}}}", "[{}]", "[{},]", "[{},{}]", "{\"a\":{},}",
      "]", "}", ",", ":", "[}", "{]", "[1}", "{\"a\":1]",
      // literals and white space
      "t", "tr", "tru", "true", "[tru", "[true", "f", "fals", "false", "nul", "null", "nulL",
      "False", "", "   ", std::string("\0[1]", 4), "\x0B[1]", "\f[1]", "[1\f]", "[\n1\r,\t2 ]",
      // strings and escapes
      "\"plain\"", R"("a\"b\\c\/d")", R"("\b\f\n\r\t")", R"("\q\x\'")",
      R"("\u0041\u00e9\u20AC")", R"("\u0000")", R"("\u007F\u0080\u07FF\u0800")",
      R"("\uD83D\uDE00")", R"("\uDBFF|\uD7FF|\uE000")", R"("\uFFFF")", R"("\u12")",
      R"("\u12G4")", "\"\\u12", "\"\\", "\"\\u", "\"\\u0", "\"\\u004", "\"\\u0041", "\"",
      "\"unterminated", "\"raw\x01\tbytes\xFF\xC3\xA9\"", std::string("\"nul\0inside\"", 12),
      R"({"k\u0041":"v"})", R"({"\"":1,"\\":2})", "\"\\\"", "\"\\\\\"", "[\"a\\\"]", "[\"a\\\\\"]",
      // numbers
      "0", "-0", "+1", "007", ".5", "-.5", "5.", "1e", "1e+", "2E-", "[1e]", "1E5", "1.5e-3",
      "21500.25", "123456789012345", "1234567890123456789", "9007199254740993", "0.1",
      "1e400", "-1e400", "1e-400", "0x10", "[0x10]", "1.5.5", "-", "+", ".", "-.", "e5", ".e5",
      "+e5", "[-]", "-inf", "nan", "Infinity", "[1e+]", "[1.]", "[.1]", "[+.1e-1]",
      "[18446744073709551616]", "[1e-0000000000000000000000005]", "[1e99999999999999999999]",
      "[4.9406564584124654e-324]", "[1.7976931348623159e308]", "{\"a\":-}", "{\"a\":1e}",
      // nesting
      Nested(49, "[", "", "]"), Nested(50, "[", "", "]"), Nested(49, "[", "1", "]"),
      Nested(48, "[", "1", "]"), Nested(48, "{\"a\":", "{}", "}"),
      Nested(48, "{\"a\":", "[1]", "}"), Nested(49, "{\"a\":", "{}", "}"),
      Nested(24, "[{\"k\":", "[]", "}]"), Nested(24, "[{\"k\":", "[1]", "}]"),
      Nested(48, "[1,", "[]", "]"), Nested(100000, "[", "", "]"), Nested(48, "[ ", " 1 ", " ]"),
  };
  // A quote or backslash at every position of the eight-byte scan, in values and keys.
  for (int before = 0; before < 20; ++before) {
    const std::string run(before, 'a');
    for (const char* stop : {"", "\\n", "\\\"", "\\u00e9", "\\"}) {
      cases.push_back("\"" + run + stop + run + "\"");
      cases.push_back("\"" + run + stop + run);
      cases.push_back("{\"" + run + stop + "\":\"" + stop + run + "\"}");
    }
  }
  // Numbers of every length, ending the text or followed by a byte, across the chunk edges.
  for (int digits = 1; digits <= 25; ++digits) {
    const std::string run = std::string(digits, '7');
    for (const std::string& number : {run, "-" + run, run + ".5", "0." + run, run + "e-5",
                                      "1." + run + "e3", run + "." + run}) {
      for (const char* after : {"", "]", ",", "x", " ", "e", "."}) {
        cases.push_back(number + after);
        cases.push_back("[" + number + after);
      }
    }
  }
  // Long containers make every buffer grow.
  std::string numbers = "[";
  std::string objects = "[";
  for (int i = 0; i < 5000; ++i) {
    numbers += std::to_string(i * 7919 % 100003) + ".25,";
    objects += "{\"strike\":" + std::to_string(20000 + i) + ",\"gex\":-1.5e" +
               std::to_string(i % 9) + ",\"note\":\"n\\u00e9" + std::to_string(i) + "\"},";
  }
  cases.push_back(numbers + "]");
  cases.push_back(objects + "]");
  cases.push_back(numbers);  // unterminated after all of that
  cases.push_back("{\"big\":" + objects + "1]}");
  return cases;
}

TEST(JsonReadersAgree, OnEdgeCases) {
  Document document;
  Tally tally;
  for (const std::string& text : EdgeCases()) {
    EXPECT_EQ(Disagreement(text, &document, &tally), "") << "input: " << Shown(text);
  }
  EXPECT_GT(tally.parsed, 200);
  EXPECT_GT(tally.failed, 200);
}

// Random JSON-like texts: mostly well formed, some damaged by a cut, a deleted or an inserted
// byte, at random depths (the nesting limit included).
class TextGenerator {
 public:
  explicit TextGenerator(unsigned seed) : random_(seed) {}

  std::string Next() {
    std::string text;
    Value(&text, 0, 1 + static_cast<int>(random_() % 52));
    switch (random_() % 6) {
      case 0: text.resize(random_() % (text.size() + 1)); break;
      case 1: if (!text.empty()) text.erase(random_() % text.size(), 1); break;
      case 2: text.insert(random_() % (text.size() + 1), Pick(kTokens)); break;
      default: break;
    }
    return text;
  }

 private:
  static constexpr const char* kScalars[] = {
      "0", "-1", "21512.25", "1e5", "-2.5E-3", ".5", "5.", "1e", "+7", "12345678901234567890",
      "0.1234567890123456789", "1e400", "true", "false", "null", "\"\"", "\"text\"",
      "\"a\\\"b\"", "\"\\u00e9\\uD83D\"", "\"tab\\there\"", "\"long string of plain bytes\""};
  static constexpr const char* kTokens[] = {"{", "}", "[", "]", ",", ":", "\"", "\\", " ",
                                            "1", "-", ".", "e", "t", "n", "\"k\":"};
  static constexpr const char* kKeys[] = {"\"price\"", "\"value\"", "\"strike\"", "\"level\"",
                                          "\"a\"", "\"\"", "\"k\\u0041\"", "\"spot\""};

  template <size_t N>
  const char* Pick(const char* const (&list)[N]) {
    return list[random_() % N];
  }
  std::string Space() { return random_() % 5 == 0 ? " \n" : ""; }

  void Value(std::string* text, int depth, int maxDepth) {
    const unsigned choice = random_() % 10;
    if (depth >= maxDepth || choice < 5) {
      *text += Pick(kScalars);
      return;
    }
    const bool object = choice < 8;
    *text += object ? "{" : "[";
    const int count = static_cast<int>(random_() % 4);
    for (int i = 0; i < count; ++i) {
      *text += Space();
      if (object) *text += std::string(Pick(kKeys)) + Space() + ":";
      Value(text, depth + 1, maxDepth);
      if (i + 1 < count || random_() % 4 == 0) *text += ",";  // sometimes a trailing comma
    }
    *text += Space() + (object ? "}" : "]");
  }

  std::mt19937 random_;
};

TEST(JsonReadersAgree, OnGeneratedTexts) {
  Document document;
  Tally tally;
  TextGenerator generator(11);
  for (int n = 0; n < 30000; ++n) {
    const std::string text = generator.Next();
    ASSERT_EQ(Disagreement(text, &document, &tally), "") << "input: " << Shown(text);
  }
  EXPECT_GT(tally.parsed, 10000);
  EXPECT_GT(tally.failed, 3000);
}

// A key too long for a slot's length field takes another way into the tree.
TEST(JsonReadersAgree, OnKeysTooLongForASlot) {
  Document document;
  const std::string plain(detail::kMaxInlineKeyLength + 1, 'k');
  const std::string escaped = plain + "\\u00e9";
  for (const std::string& key : {plain, escaped, plain.substr(1)}) {
    const std::string text = "{\"a\":1,\"" + key + "\":[2],\"" + key + "\":3}";
    EXPECT_EQ(Disagreement(text, &document), "") << "key of " << key.size() << " bytes";
  }
}

}  // namespace
}  // namespace json
