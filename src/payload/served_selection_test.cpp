#include "payload/served_selection.h"

#include <gtest/gtest.h>

#include <string>

namespace payload {
namespace {

using calendar::BuildExpirySelection;
using calendar::ExpirySelection;

constexpr const char* kToday = "2025-01-17";

// "2025-01-01,2025-01-02,..." with `count` consecutive January dates (count <= 31).
std::string JanuaryDates(int count) {
  std::string list;
  for (int day = 1; day <= count; ++day) {
    if (day > 1) list += ',';
    list += "2025-01-" + std::string(day < 10 ? "0" : "") + std::to_string(day);
  }
  return list;
}

// The same dates as a JSON array body: "2025-01-01","2025-01-02",...
std::string QuotedJanuaryDates(int count) {
  std::string list = JanuaryDates(count);
  std::string quoted = "\"";
  for (char c : list) quoted += (c == ',') ? std::string("\",\"") : std::string(1, c);
  return quoted + "\"";
}

json::Value Parse(const std::string& text) {
  json::Value root;
  EXPECT_TRUE(json::ParseJson(text, &root)) << text;
  return root;
}

// A levels answer whose "expiry_selection" has `mode` (JSON) and `served` (JSON array) and
// whose root list is `root` (JSON array; omitted when null).
std::string Answer(const std::string& mode, const std::string& served, const char* root) {
  std::string answer = R"({"expiry_selection":{"mode":)" + mode +
                       R"(,"selected_expirations":)" + served + "}";
  if (root) answer += std::string(R"(,"selected_expirations":)") + root;
  return answer + "}";
}

bool Matches(const std::string& answer, const ExpirySelection& selection) {
  return calendar::ResponseSelectionMatches(ReadServedSelection(Parse(answer)), selection);
}

std::string Note(const std::string& answer, const ExpirySelection& selection) {
  return calendar::CoreSelectionNote(ReadServedSelection(Parse(answer)), selection);
}

TEST(ServedSelection, ResponseMustServeExactlyTheSelection) {
  const ExpirySelection legacy = BuildExpirySelection(0, "", "", kToday);
  const ExpirySelection multiTwo = BuildExpirySelection(1, "2025-01-24,2025-01-17", "", kToday);
  const ExpirySelection multiAll = BuildExpirySelection(1, "", "", kToday);
  const ExpirySelection specific = BuildExpirySelection(2, "", "2025-03-21", kToday);
  const ExpirySelection zeroDte = BuildExpirySelection(3, "", "", kToday);
  // Too many entries, though its distinct dates are exactly what the answer serves.
  const ExpirySelection invalid =
      BuildExpirySelection(1, JanuaryDates(24) + ",2025-01-01", "", kToday);

  const std::string jan24 = "[" + QuotedJanuaryDates(24) + "]";
  const std::string jan25 = "[" + QuotedJanuaryDates(25) + "]";
  const char* two = R"(["2025-01-17","2025-01-24"])";
  const char* twoReversed = R"(["2025-01-24","2025-01-17"])";
  const char* one = R"(["2025-01-17"])";
  struct Case {
    const char* name;
    const ExpirySelection* selection;
    std::string response;
    bool matches;
  };
  const Case cases[] = {
      {"legacy, empty answer", &legacy, "{}", true},
      {"invalid selection", &invalid, Answer(R"("multi")", jan24, jan24.c_str()), false},
      {"multi two, served two", &multiTwo, Answer(R"("multi")", twoReversed, two), true},
      {"multi all, served two", &multiAll, Answer(R"("multi")", two, twoReversed), true},
      {"multi all, served 24", &multiAll, Answer(R"("multi")", jan24, jan24.c_str()), true},
      {"multi all, served 25", &multiAll, Answer(R"("multi")", jan25, jan25.c_str()), false},
      {"specific, served multi", &specific, Answer(R"("multi")", two, two), false},
      {"multi two, no selection object", &multiTwo, R"({"selected_expirations":["2025-01-17"]})",
       false},
      {"multi two, root list missing", &multiTwo, Answer(R"("multi")", two, nullptr), false},
      {"multi two, root list differs", &multiTwo, Answer(R"("multi")", two, one), false},
      {"multi two, served one", &multiTwo, Answer(R"("multi")", one, one), false},
      {"multi all, served one", &multiAll, Answer(R"("multi")", one, one), true},
      {"multi all, duplicate", &multiAll,
       Answer(R"("multi")", R"(["2025-01-17","2025-01-17"])", R"(["2025-01-17","2025-01-17"])"),
       false},
      {"multi all, impossible date", &multiAll,
       Answer(R"("multi")", R"(["2025-02-30"])", R"(["2025-02-30"])"), false},
      {"multi all, number element", &multiAll, Answer(R"("multi")", "[20250117]", "[20250117]"),
       false},
      {"multi all, empty list", &multiAll, Answer(R"("multi")", "[]", "[]"), false},
      {"multi all, mode upper case", &multiAll, Answer(R"("MULTI")", one, one), false},
      {"multi all, mode number", &multiAll, Answer("1", one, one), false},
      {"multi all, selection not an object", &multiAll,
       R"({"expiry_selection":["multi"],"selected_expirations":["2025-01-17"]})", false},
      {"specific, served it", &specific,
       Answer(R"("specific")", R"(["2025-03-21"])", R"(["2025-03-21"])"), true},
      {"specific, served another", &specific,
       Answer(R"("specific")", R"(["2025-03-28"])", R"(["2025-03-28"])"), false},
      {"0dte, served today", &zeroDte, Answer(R"("0dte")", one, one), true},
      {"0dte, served yesterday", &zeroDte,
       Answer(R"("0dte")", R"(["2025-01-16"])", R"(["2025-01-16"])"), false},
      {"0dte, served two", &zeroDte, Answer(R"("0dte")", two, two), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Matches(c.response, *c.selection), c.matches) << c.name;
  }
}

TEST(ServedSelection, CoreNoteDescribesTheServedBook) {
  const ExpirySelection multi = BuildExpirySelection(1, "", "", kToday);
  const ExpirySelection zeroDte = BuildExpirySelection(3, "", "", kToday);
  struct Case {
    const char* response;
    const ExpirySelection* selection;
    const char* note;
  };
  const Case cases[] = {
      {R"({"expiry_selection":{"mode":"multi","selected_expirations":["2025-01-24","2025-01-17"],)"
       R"("coverage":{"served":2,"record_expirations":"7"},"captured_at":1735741800123.6,)"
       R"("quotes_at":"n/a"}})",
       &multi,
       "Core multi: 2025-01-24,2025-01-17 | captured delayed OI | coverage 2/7 (bounded book) | "
       "captured ms 1735741800124 / quotes ms n/a | gamma flip / max pain unavailable | "
       "no front-book extended complement"},
      {R"({"expiry_selection":{"selected_expirations":["2025-01-17",5],"coverage":)"
       R"({"served":true,"record_expirations":null},"captured_at":[1],"quotes_at":{}}})",
       &zeroDte,
       "Core 0dte: 2025-01-17, | captured delayed OI | coverage / (bounded book) | "
       "captured ms  / quotes ms  | gamma flip / max pain unavailable | "
       "no front-book extended complement"},
      {"{}", &zeroDte,
       "Core 0dte:  | captured delayed OI | coverage / (bounded book) | captured ms  / quotes ms  "
       "| gamma flip / max pain unavailable | no front-book extended complement"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Note(c.response, *c.selection), c.note) << c.response;
  }
}

}  // namespace
}  // namespace payload
