#include "formats/typed_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/posix/posix_services.h"

namespace formats {
namespace {

constexpr double kRefused = -1;

// The whole grammar in one table. Every accepted time also survives a round trip through the
// text the engine writes.
TEST(TypedTime, OneGrammarForBarTimesAsOfAndChainTimestamps) {
  struct Case {
    const char* text;
    double utc;
  };
  const Case cases[] = {
      {"2025-01-02T14:30:00Z", 1735828200},
      {"2025-01-02t14:30:00z", 1735828200},
      {"2025-01-02T14:30:00+05", 1735810200},
      {"2025-01-02T14:30:00+05:30", 1735808400},
      {"2025-01-02T09:30:00-0400", 1735824600},
      {"2025-01-02T09:30-05:00", 1735828200},     // no seconds
      {"2025-01-02T14:30:00+18:00", 1735763400},  // the widest offset
      {"2025-01-02T14:30:00.250Z", 1735828200.25},
      {"2025-01-02 09:30:00", 1735828200},  // New York, winter, blank separator
      {"2025-01-02T09:30", 1735828200},
      {"2025-07-01 09:30", 1751376600},      // New York, summer
      {"2025-03-09T02:30", 1741505400},      // skipped hour: the offset before the change
      {"2025-01-02", 1735794000},            // New York midnight
      {"2016-12-31T23:59:60Z", 1483228800},  // a leap second: the next minute's start
      {"123456789", 123456789},              // nine digits: seconds since 1970
      {"1735828200.5", 1735828200.5},
      {"20250102", kRefused},  // eight digits are a date, not 1970
      {"12345678.5", kRefused},
      {"2025-01-02T14:30:00+19:00", kRefused},
      {"2025-01-02T14:30:00+19", kRefused},
      {"2025-01-02T24:00Z", kRefused},
      {"2025-01-02T10:60Z", kRefused},
      {"2025-01-02T10:00:61Z", kRefused},
      {"2025-02-30T10:00Z", kRefused},
      {"2025-02-30", kRefused},
      {"2025-01-02T10:00+05:60", kRefused},
      {"2025-01-02T10:00+5", kRefused},
      {"2025-01-02T10:00+05:", kRefused},
      {"2025-01-02  10:00", kRefused},
      {"2025-01-02X10:00", kRefused},
      {"2025-01-02T10", kRefused},
      {"2025-01-02T", kRefused},
      {"2025-01-02Z", kRefused},
      {"2025-01-02T10:00Zjunk", kRefused},
      {"2025-01-02T10:00:00.Z", kRefused},
      {"2025-01-02T10:00.5Z", kRefused},  // a fraction belongs to the seconds
      {"2025-01-02 10:42:10 EST", kRefused},
      {" 2025-01-02", kRefused},
      {"2025-1-02", kRefused},
      {"1969-12-31T23:59:59Z", kRefused},
      {"99999999999999", kRefused},  // after 9999
      {"1735828200.", kRefused},
      {"", kRefused},
      {"-5", kRefused},
      {"1e9", kRefused},
      {"0x10", kRefused},
      {"1.2.3", kRefused},
      {"yesterday", kRefused},
  };
  for (const Case& c : cases) {
    double utc = kRefused;
    EXPECT_EQ(ParseTypedTime(c.text, platform::DefaultServices(), &utc), c.utc != kRefused) << c.text;
    EXPECT_DOUBLE_EQ(utc, c.utc) << c.text;
    if (c.utc == kRefused) continue;
    const double whole = std::floor(c.utc);
    double back = kRefused;
    EXPECT_TRUE(ParseTypedTime(UtcTimestampText(whole), platform::DefaultServices(), &back)) << c.text;
    EXPECT_EQ(back, whole) << c.text << " as " << UtcTimestampText(whole);
  }
}

TEST(TypedTime, WritesWholeSecondsAsUtcAndNewYorkText) {
  EXPECT_EQ(UtcTimestampText(1735832530.9), "2025-01-02T15:42:10Z");
  EXPECT_EQ(UtcTimestampText(0), "1970-01-01T00:00:00Z");
  platform::Services& zone = platform::DefaultServices();
  for (double utc : {1735832530.9, 1751376600.0, 1762059600.0 /* 01:00 EDT, before the hour repeats */}) {
    const std::string text = NewYorkTimeText(utc, zone);
    double back = kRefused;
    EXPECT_TRUE(ParseTypedTime(text, zone, &back)) << text;
    EXPECT_EQ(back, std::floor(utc)) << text;
  }
  EXPECT_EQ(NewYorkTimeText(1735832530.9, zone), "2025-01-02 10:42:10");
}

// Slash dates, read as the date itself tells (a single typed time) or in the order a file's dates
// decide, and a date with a time of day from two fields, as a bars file's Date and Time columns
// give them.
TEST(TypedTime, SlashDatesAndDatesJoinedToATimeOfDay) {
  struct Case {
    const char* date;
    const char* clock;  // nullptr: `date` alone through ParseTypedTime
    SlashDateOrder order;
    double utc;
  };
  const Case cases[] = {
      {"01/13/2025", nullptr, SlashDateOrder::kFromDate, 1736744400},  // a slash date that tells its order
      {"13/01/2025", nullptr, SlashDateOrder::kFromDate, 1736744400},
      {"1/13/2025 9:30", nullptr, SlashDateOrder::kFromDate, 1736778600},  // short numbers and hour
      {"01/13/2025 09:30:00-05:00", nullptr, SlashDateOrder::kFromDate, 1736778600},
      {"02/02/2025", nullptr, SlashDateOrder::kFromDate, 1738472400},  // equal numbers read alike
      {"03/04/2025", nullptr, SlashDateOrder::kFromDate, kRefused},    // March 4 or April 3: nothing tells
      {"02/30/2025", nullptr, SlashDateOrder::kFromDate, kRefused},
      {"13/13/2025", nullptr, SlashDateOrder::kFromDate, kRefused},
      {"01/13/25", nullptr, SlashDateOrder::kFromDate, kRefused},  // a two-digit year
      {"001/13/2025", nullptr, SlashDateOrder::kFromDate, kRefused},
      {"01/13/2025T09:30", nullptr, SlashDateOrder::kFromDate, kRefused},  // a slash date takes a blank only
      {"01/13/2025 9:30 PM", nullptr, SlashDateOrder::kFromDate, kRefused},
      {"2025-01-02 9:30", nullptr, SlashDateOrder::kFromDate, kRefused},  // an ISO time keeps two-digit hours
      {"03/04/2025", nullptr, SlashDateOrder::kMonthFirst, 1741064400},   // 2025-03-04
      {"03/04/2025", nullptr, SlashDateOrder::kDayFirst, 1743652800},     // 2025-04-03, EDT
      {"01/13/2025", nullptr, SlashDateOrder::kDayFirst, kRefused},       // month 13
      {"2025-01-13", nullptr, SlashDateOrder::kDayFirst, 1736744400},     // ISO whatever the order
      {"03/04/2025", "9:30", SlashDateOrder::kMonthFirst, 1741098600},
      {"2025-01-02", "09:30:00", SlashDateOrder::kFromDate, 1735828200},
      {"2025-01-02", "14:30Z", SlashDateOrder::kFromDate, 1735828200},
      {"2025-01-02", "09:30:00.5-05:00", SlashDateOrder::kFromDate, 1735828200.5},
      {"03/04/2025", "9:30", SlashDateOrder::kFromDate, kRefused},
      {"2025-01-02 09:30", "09:30", SlashDateOrder::kFromDate, kRefused},  // the date field holds a time
      {"2025-01-02", "", SlashDateOrder::kFromDate, kRefused},
      {"2025-01-02", "930", SlashDateOrder::kFromDate, kRefused},
      {"2025-01-02", "9:30 AM", SlashDateOrder::kFromDate, kRefused},
      {"2025-01-02", "24:00", SlashDateOrder::kFromDate, kRefused},
  };
  for (const Case& c : cases) {
    const std::string name = std::string(c.date) + " | " + (c.clock ? c.clock : "-");
    double utc = kRefused;
    const bool read =
        c.clock ? ParseTypedDateAndClock(c.date, c.clock, c.order, platform::DefaultServices(), &utc)
                : ParseTypedTime(c.date, c.order, platform::DefaultServices(), &utc);
    EXPECT_EQ(read, c.utc != kRefused) << name;
    EXPECT_DOUBLE_EQ(utc, c.utc) << name;
  }
}

// A file's slash dates tell their order together: one number above 12 decides, two dates that
// decide differently or an undecided date that reads two ways are refused, naming the line.
TEST(TypedTime, AFilesSlashDatesDecideTheirOrderTogether) {
  struct Case {
    const char* name;
    std::vector<const char*> dates;  // on lines 2, 3, ...
    SlashDateOrder order;
    const char* error;  // nullptr: decided
  };
  const Case cases[] = {
      {"no slash dates", {"2025-01-02", "1735828200"}, SlashDateOrder::kFromDate, nullptr},
      {"equal numbers", {"01/01/2025", "02/02/2025 09:30"}, SlashDateOrder::kFromDate, nullptr},
      {"a later day above 12", {"01/02/2025", "01/13/2025 10:00"}, SlashDateOrder::kMonthFirst, nullptr},
      {"a first number above 12", {"12/01/2025", "13/01/2025"}, SlashDateOrder::kDayFirst, nullptr},
      {"no date reads in either order", {"13/13/2025", "01/01/2025"}, SlashDateOrder::kFromDate, nullptr},
      {"one day, both numbers at most 12",
       {"03/04/2025 09:30", "03/04/2025 09:35"},
       SlashDateOrder::kFromDate,
       "line 2: Date 03/04/2025 reads as 2025-03-04 (month first) or 2025-04-03 (day first), and no date in "
       "the "
       "file has a day above 12 to tell which: expected dates as YYYY-MM-DD"},
      {"both orders",
       {"01/13/2025", "01/02/2025", "13/01/2025"},
       SlashDateOrder::kFromDate,
       "line 4: Date 13/01/2025 puts the day first, but line 2's 01/13/2025 puts the month first: expected "
       "one "
       "order of day and month in the file (write dates as YYYY-MM-DD)"},
  };
  for (const Case& c : cases) {
    SlashDateEvidence evidence;
    for (size_t i = 0; i < c.dates.size(); ++i) evidence.Note(c.dates[i], i + 2);
    SlashDateOrder order = SlashDateOrder::kDayFirst;
    std::string error;
    EXPECT_EQ(evidence.Decide("Date", &order, &error), c.error == nullptr) << c.name;
    EXPECT_EQ(error, c.error ? c.error : "") << c.name;
    if (c.error == nullptr) {
      EXPECT_EQ(order, c.order) << c.name;
    }
  }
}

}  // namespace
}  // namespace formats
