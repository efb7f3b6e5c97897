#include "calendar/expiry_selection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace calendar {
namespace {

using Dates = std::vector<std::string>;

constexpr const char* kToday = "2025-01-17";

// The first `count` January 2025 dates (count <= 31).
Dates January(int count) {
  Dates dates;
  for (int day = 1; day <= count; ++day) {
    dates.push_back("2025-01-" + std::string(day < 10 ? "0" : "") + std::to_string(day));
  }
  return dates;
}

std::string Joined(const Dates& dates) {
  std::string list;
  for (const std::string& date : dates) list += (list.empty() ? "" : ",") + date;
  return list;
}

TEST(ExpirySelection, BuildsKeyAndQueryFromInputs) {
  const struct {
    uint32_t mode;
    const char *multi, *specific;
    bool valid;
    const char *key, *query;
  } cases[] = {
      {1, " 2025-01-24 ,2025-01-17,\t2025-01-17\r\n", "", true, "multi|2025-01-17,2025-01-24|",
       "&expiry_mode=multi&expiries=2025-01-17,2025-01-24"},
      {1, " \t\r\n", "junk", true, "multi||", "&expiry_mode=multi"},
      {1, "2025-01-17,", "", false, "multi|,2025-01-17|", ""},
      {2, "junk", " 2025-03-21\t", true, "specific|2025-03-21|", "&expiry_mode=specific&expiry=2025-03-21"},
      {2, "2025-03-21", "", false, "specific||", ""},
      {2, "", "2025-03-21,2025-03-28", false, "specific|2025-03-21,2025-03-28|", ""},
      {3, "junk", "junk", true, "0dte||2025-01-17", "&expiry_mode=0dte"},
      {0, "junk,,", "2025-02-30", true, "legacy||", ""},
      {4, "2025-01-17", "2025-01-17", false, "legacy||", ""},
  };
  for (const auto& c : cases) {
    const std::string tag = std::to_string(c.mode) + " multi '" + c.multi + "' specific '" + c.specific + "'";
    const ExpirySelection s = BuildExpirySelection(c.mode, c.multi, c.specific, kToday);
    EXPECT_EQ(s.mode, c.mode) << tag;
    EXPECT_EQ(s.valid, c.valid) << tag;
    EXPECT_EQ(s.error, c.valid ? "" : kExpirySelectionError) << tag;
    EXPECT_EQ(ExpirySelectionKey(s), c.key) << tag;
    EXPECT_EQ(ExpiryQueryString(s), c.query) << tag;
  }
}

TEST(ExpirySelection, LimitsCountEntriesBeforeDuplicatesGo) {
  const struct {
    std::string multi;
    bool valid;
    size_t kept;
  } cases[] = {
      {Joined(January(23)) + ",2025-01-01", true, 23},
      {Joined(January(24)) + ",2025-01-01", false, 24},
  };
  for (const auto& c : cases) {
    const ExpirySelection s = BuildExpirySelection(1, c.multi, "", kToday);
    EXPECT_EQ(s.valid, c.valid) << c.multi;
    EXPECT_EQ(s.dates.size(), c.kept) << c.multi;
  }
}

TEST(ExpirySelection, AnAnswerMustServeExactlyTheSelection) {
  const ExpirySelection legacy = BuildExpirySelection(0, "", "", kToday);
  const ExpirySelection multiTwo = BuildExpirySelection(1, "2025-01-24,2025-01-17", "", kToday);
  const ExpirySelection multiAll = BuildExpirySelection(1, "", "", kToday);
  const ExpirySelection specific = BuildExpirySelection(2, "", "2025-03-21", kToday);
  const ExpirySelection zeroDte = BuildExpirySelection(3, "", "", kToday);
  // Too many entries, though its distinct dates are exactly what the answer serves.
  const ExpirySelection invalid = BuildExpirySelection(1, Joined(January(24)) + ",2025-01-01", "", kToday);
  const Dates jan24 = January(24), jan25 = January(25), one = {"2025-01-17"};
  const Dates two = {"2025-01-17", "2025-01-24"}, twoReversed = {"2025-01-24", "2025-01-17"};
  const struct {
    const char* name;
    const ExpirySelection* selection;
    const char* mode;
    Dates dates, rootDates;  // the answer's "expiry_selection" list and its own
    bool matches;
  } cases[] = {
      {"legacy, nothing served", &legacy, "", {}, {}, true},
      {"invalid selection", &invalid, "multi", jan24, jan24, false},
      {"multi two, served two", &multiTwo, "multi", twoReversed, two, true},
      {"multi two, served one", &multiTwo, "multi", one, one, false},
      {"multi two, no selection block", &multiTwo, "", {}, one, false},
      {"multi two, root list differs", &multiTwo, "multi", two, one, false},
      {"multi all, served 24", &multiAll, "multi", jan24, jan24, true},
      {"multi all, served 25", &multiAll, "multi", jan25, jan25, false},
      {"multi all, duplicate", &multiAll, "multi", {one[0], one[0]}, {one[0], one[0]}, false},
      {"multi all, impossible date", &multiAll, "multi", {"2025-02-30"}, {"2025-02-30"}, false},
      {"multi all, empty list", &multiAll, "multi", {}, {}, false},
      {"multi all, mode upper case", &multiAll, "MULTI", one, one, false},
      {"specific, served it", &specific, "specific", {"2025-03-21"}, {"2025-03-21"}, true},
      {"0dte, served today", &zeroDte, "0dte", one, one, true},
      {"0dte, served yesterday", &zeroDte, "0dte", {"2025-01-16"}, {"2025-01-16"}, false},
  };
  for (const auto& c : cases) {
    ServedSelection served;
    served.mode = c.mode;
    served.dates = c.dates;
    served.rootDates = c.rootDates;
    EXPECT_EQ(ResponseSelectionMatches(served, *c.selection), c.matches) << c.name;
  }
}

TEST(ExpirySelection, CoreNoteNamesTheSelectedModeAndWhatWasServed) {
  const ServedSelection served = {"multi", {"2025-01-24", "2025-01-17"}, {}, "2", "7", "5", "n/a"};
  EXPECT_EQ(CoreSelectionNote(served, BuildExpirySelection(3, "", "", kToday)),
            "Core 0dte: 2025-01-24,2025-01-17 | captured delayed OI | coverage 2/7 (bounded book) | "
            "captured ms 5 / quotes ms n/a | gamma flip / max pain unavailable | "
            "no front-book extended complement");
}

TEST(TrimBlanks, CutsSpacesTabsAndLineEndsOnly) {
  const std::pair<const char*, const char*> cases[] = {
      {" \t\r\n2025-01-17 \n", "2025-01-17"},
      {"   ", ""},
      {"a b", "a b"},
      {"\va\f", "\va\f"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(TrimBlanks(in), out) << "'" << in << "'";
}

}  // namespace
}  // namespace calendar
