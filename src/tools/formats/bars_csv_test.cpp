#include "formats/bars_csv.h"

#include <gtest/gtest.h>

#include <cmath>

#include "formats/typed_time.h"
#include "platform/own_services.h"

namespace formats {
namespace {

TEST(BarsCsv, BadRowsAndTimesNameTheirLine) {
  struct Case {
    const char* csv;
    const char* error;
  };
  const Case cases[] = {
      {"open,high,low,close\n2,4,1,3\n2,4,x,3\n", "line 3: low is not a decimal number: x"},
      {"open,high,low,close\n2,4,1\n", "line 2: no close (the row has 3 fields)"},
      {"open,high,low,close\n2,4,1,\n", "line 2: close is empty"},
      {"open,high,low,close\n2,4,1,1e\n", "line 2: close is not a decimal number: 1e"},
      {"open,high,low,close\n2,4,1,\"3\x1b[2J\"\n", "line 2: close is not a decimal number: 3?[2J"},
      {"open,high,low,close\n\"2,4,1,3\n", "line 2: a quoted field is never closed"},
      {"open,high,low,close\n\"2\"x,4,1,3\n", "line 2: text after a closing quote"},
      {"open,high,low,close,\"no\nte\"\n2,4,1,3\n2,4,1\n", "line 4: no close (the row has 3 fields)"},
      {"open,high,low,close\n2,4,1,3,5\n", "line 2: 5 fields, more than the 4 of the header row"},
      {"open,high,price\n1,2,3\n", "line 1: the header names only some of open, high, low, close"},
      {"\n\n", "no header row"},
      {"time,open,high,low,close\n2025-01-02T09:30Z,1,2,0,1\nsoon,1,2,0,1\n",
       "line 3: the time is neither an ISO 8601 date-time nor seconds since 1970"},
      {"time,open,high,low,close\n20250102,1,2,0,1\n",  // a date without dashes, not a time in 1970
       "line 2: the time is neither an ISO 8601 date-time nor seconds since 1970"},
      {"time,open,high,low,close\n2025-01-02T09:30Z,1,2,0,1\n2025-01-02T09:30Z,1,2,0,1\n",
       "line 3: the time is not later than the bar before"},
      {"open,high,low,close,time\n1,2,0,1\n", "line 2: the time is neither an ISO 8601 date-time nor seconds since 1970"},
  };
  for (const Case& c : cases) {
    std::vector<Bar> bars;
    std::string error;
    EXPECT_FALSE(ReadBarsCsv(c.csv, BarRules::kChart, &bars, &error)) << c.csv;
    EXPECT_EQ(error, c.error) << c.csv;
  }
}

// A chart's bars file takes plain decimal prices in a bar that spans them; a scenario's takes
// what its inline bars may hold, an exponent or a broken bar. The chart's reader took exponent
// prices and a high below the low.
TEST(BarsCsv, RegressionChartBarsArePlainDecimalsWithinTheirLowToHigh) {
  struct Case {
    const char* row;  // under the header open,high,low,close, on line 2
    const char* chartError;  // "": the chart's rules take it too
  };
  const Case cases[] = {
      {"21410,21424.25,21400.5,21420", ""},
      {"21410,21410,21410,21410", ""},
      {"+21410,21424,21400,.5e5", "line 2: close is not a decimal number (an exponent is not allowed): .5e5"},
      {"1e3,21424,21400,21420", "line 2: open is not a decimal number (an exponent is not allowed): 1e3"},
      {"21410,2.1424E4,21400,21420", "line 2: high is not a decimal number (an exponent is not allowed): 2.1424E4"},
      {"21410,21424,21400,21424e0", "line 2: close is not a decimal number (an exponent is not allowed): 21424e0"},
      {"21405,21400,21410,21405", "line 2: high 21400 is below low 21410"},
      {"21399.75,21420,21400,21410", "line 2: open 21399.75 is below low 21400"},
      {"21420.25,21420,21400,21410", "line 2: open 21420.25 is above high 21420"},
      {"21410,21420,21400,21399", "line 2: close 21399 is below low 21400"},
      {"21410,21420,21400,21421", "line 2: close 21421 is above high 21420"},
  };
  for (const Case& c : cases) {
    const std::string csv = std::string("open,high,low,close\n") + c.row + "\n";
    std::vector<Bar> bars;
    std::string error;
    EXPECT_EQ(ReadBarsCsv(csv, BarRules::kChart, &bars, &error), *c.chartError == '\0') << c.row;
    EXPECT_EQ(error, c.chartError) << c.row;
    ASSERT_TRUE(ReadBarsCsv(csv, BarRules::kScenario, &bars, &error)) << c.row << ": " << error;
    ASSERT_EQ(bars.size(), 1u) << c.row;
  }
  std::vector<Bar> bars;
  std::string error;
  ASSERT_TRUE(ReadBarsCsv("open,high,low,close\n1e3,2.1424E4,21424e0,-0.5E+1\n", BarRules::kScenario, &bars, &error));
  EXPECT_EQ(bars[0].open, 1000);
  EXPECT_EQ(bars[0].high, 21424);
  EXPECT_EQ(bars[0].low, 21424);
  EXPECT_EQ(bars[0].close, -5);
  for (const char* price : {"0x5400", "inf", "nan", "1e", "1e+", "e5", ".", "-"}) {
    EXPECT_FALSE(ReadBarsCsv(std::string("open,high,low,close\n") + price + ",1,1,1\n", BarRules::kScenario, &bars,
                             &error))
        << price;
  }
}

// Columns come by header name, else the first four are open, high, low, close. The reader split
// quoted fields at their commas, reported a byte-order mark before the header as a missing
// column, and took hexadecimal prices.
TEST(BarsCsv, RegressionColumnsByHeaderOrFirstFourReadAsCsvWithDecimalPricesOnly) {
  struct Case {
    const char* name;
    const char* csv;
    bool ok;
    double close;  // of the one bar when read
  };
  const Case cases[] = {
      {"named columns, CRLF, blank line", "Time,Open,High,Low,Close,Volume\r\n2025-01-01,1,4,0.5,3,99\r\n\r\n", true, 3},
      {"first four, extra column", "o,h,l,c,note\n1,4,0.5,2.25,extra\n", true, 2.25},
      {"byte-order mark", "\xEF\xBB\xBFopen,high,low,close\r\n1,4,0.5,2\r\n", true, 2},
      {"quoted header and fields", "\"open\",\"high\",\"low\",\"close\"\n\"1\", \"4\" ,0.5,\"2.5\"\n", true, 2.5},
      {"quoted comma is one field", "open,high,low,close,note\n1,4,0.5,3,\"a, \"\"b\"\"\nc\"\n", true, 3},
      {"columns in another order", "close,low,high,open\n2,0.5,4,1\n", true, 2},
      {"decimal comma in quotes", "open,high,low,close\n\"21500,5\",4,0.5,2\n", false, 0},
      {"hexadecimal", "open,high,low,close\n0x5400,4,0.5,2\n", false, 0},
      {"infinity", "open,high,low,close\n1,inf,0.5,2\n", false, 0},
  };
  for (const Case& c : cases) {
    std::vector<Bar> bars;
    std::string error;
    EXPECT_EQ(ReadBarsCsv(c.csv, BarRules::kChart, &bars, &error), c.ok) << c.name << ": " << error;
    if (!c.ok) continue;
    ASSERT_EQ(bars.size(), 1u) << c.name;
    EXPECT_EQ(bars[0].open, 1) << c.name;
    EXPECT_EQ(bars[0].high, 4) << c.name;
    EXPECT_EQ(bars[0].low, 0.5) << c.name;
    EXPECT_EQ(bars[0].close, c.close) << c.name;
  }
}

TEST(BarsCsv, TimeColumnGivesEachBarItsTime) {
  struct Case {
    const char* csv;
    double firstTime;  // NaN: the bars carry no time
    double close;
  };
  const Case cases[] = {
      {"time,open,high,low,close\n2025-01-02T09:30:00-05:00,1,4,0.5,2\n2025-01-02T09:35:00-05:00,1,4,0.5,3\n",
       1735828200, 2},
      {"Date,o,h,l,c\n2025-01-02 09:30,1,4,0.5,2.5\n1735828500,1,4,0.5,3\n", 1735828200, 2.5},
      {"open,high,low,close,Timestamp\n1,4,0.5,2,1735828200\n1,4,0.5,3,1735828260\n", 1735828200, 2},
      {"open,high,low,close\n1,4,0.5,2\n1,4,0.5,3\n", kNoBarTime, 2},
  };
  for (const Case& c : cases) {
    std::vector<Bar> bars;
    std::string error;
    ASSERT_TRUE(ReadBarsCsv(c.csv, BarRules::kChart, &bars, &error)) << c.csv << error;
    ASSERT_EQ(bars.size(), 2u) << c.csv;
    EXPECT_EQ(bars[0].close, c.close) << c.csv;
    EXPECT_EQ(HasTime(bars[0]), std::isfinite(c.firstTime)) << c.csv;
    if (std::isfinite(c.firstTime)) {
      EXPECT_DOUBLE_EQ(bars[0].time, c.firstTime) << c.csv;
    }
  }
}

// A bar time is read as every typed time is: the same texts, the same instants, the same refusals
// as --as-of (engine/levels_test checks that side).
TEST(BarsCsv, BarTimesAreTypedTimes) {
  for (const char* time : {"2025-01-02T14:30:00+05", "2025-01-02 09:30", "2025-01-02", "2016-12-31T23:59:60Z",
                           "123456789.5", "20250102", "2025-01-02T14:30+19:00", "2025-01-02T24:00Z"}) {
    double typed = -1;
    const bool readable = ParseTypedTime(time, platform::OwnServices(), &typed);
    std::vector<Bar> bars;
    std::string error;
    const std::string csv = std::string("time,open,high,low,close\n") + time + ",1,2,0,1\n";
    EXPECT_EQ(ReadBarsCsv(csv, BarRules::kChart, &bars, &error), readable) << time << ": " << error;
    if (readable) {
      ASSERT_EQ(bars.size(), 1u) << time;
      EXPECT_EQ(bars[0].time, typed) << time;
    }
  }
}

}  // namespace
}  // namespace formats
