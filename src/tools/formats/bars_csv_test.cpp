#include "formats/bars_csv.h"

#include <gtest/gtest.h>

#include <cmath>

#include "formats/typed_time.h"
#include "platform/own_services.h"

namespace formats {
namespace {

// The CSV rules themselves (quotes, field counts, line ends): formats/csv_records_test.
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
      {"open,high,low,close,\"no\nte\"\n2,4,1,3\n2,4,1\n", "line 4: no close (the row has 3 fields)"},
      {"open,high,price\n1,2,3\n",
       "line 1: the header names open and high but not low and close: expected columns open, high, low and "
       "close "
       "(or last)"},
      {"\n\n", "no header row"},
      {"time,open,high,low,close\n2025-01-02T09:30Z,1,2,0,1\nsoon,1,2,0,1\n",
       "line 3: time soon is not a time: expected a date and time such as 2025-01-02 09:30, 01/02/2025 09:30 "
       "or "
       "2025-01-02T14:30:00Z, or seconds since 1970"},
      {"Time,open,high,low,close\n20250102,1,2,0,1\n",  // a date without dashes, not a time in 1970
       "line 2: Time 20250102 is not a time: expected a date and time such as 2025-01-02 09:30, 01/02/2025 "
       "09:30 "
       "or 2025-01-02T14:30:00Z, or seconds since 1970"},
      {"time,open,high,low,close\n2025-01-02T09:30Z,1,2,0,1\n2025-01-02T09:30Z,1,2,0,1\n",
       "line 3: time 2025-01-02T09:30Z is not later than the bar before (line 2): expected bars in time "
       "order"},
      {"open,high,low,close,time\n1,2,0,1\n", "line 2: no time (the row has 4 fields)"},
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
    const char* row;         // under the header open,high,low,close, on line 2
    const char* chartError;  // "": the chart's rules take it too
  };
  const Case cases[] = {
      {"21410,21424.25,21400.5,21420", ""},
      {"21410,21410,21410,21410", ""},
      {"+21410,21424,21400,.5e5", "line 2: close is not a decimal number (an exponent is not allowed): .5e5"},
      {"1e3,21424,21400,21420", "line 2: open is not a decimal number (an exponent is not allowed): 1e3"},
      {"21410,2.1424E4,21400,21420",
       "line 2: high is not a decimal number (an exponent is not allowed): 2.1424E4"},
      {"21410,21424,21400,21424e0",
       "line 2: close is not a decimal number (an exponent is not allowed): 21424e0"},
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
  ASSERT_TRUE(
      ReadBarsCsv("open,high,low,close\n1e3,2.1424E4,21424e0,-0.5E+1\n", BarRules::kScenario, &bars, &error));
  EXPECT_EQ(bars[0].open, 1000);
  EXPECT_EQ(bars[0].high, 21424);
  EXPECT_EQ(bars[0].low, 21424);
  EXPECT_EQ(bars[0].close, -5);
  for (const char* price : {"0x5400", "inf", "nan", "1e", "1e+", "e5", ".", "-"}) {
    EXPECT_FALSE(ReadBarsCsv(std::string("open,high,low,close\n") + price + ",1,1,1\n", BarRules::kScenario,
                             &bars, &error))
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
      {"named columns, CRLF, blank line",
       "Time,Open,High,Low,Close,Volume\r\n2025-01-01,1,4,0.5,3,99\r\n\r\n", true, 3},
      {"first four, extra column", "o,h,l,c,note\n1,4,0.5,2.25,extra\n", true, 2.25},
      {"byte-order mark", "\xEF\xBB\xBFopen,high,low,close\r\n1,4,0.5,2\r\n", true, 2},
      {"quoted header and fields", "\"open\",\"high\",\"low\",\"close\"\n\"1\", \"4\" ,0.5,\"2.5\"\n", true,
       2.5},
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

// Each bar's time comes from a time column, or the bars carry none. Bars as charting tools and
// spreadsheets export them: semicolon or tab separators with a
// decimal comma only beside semicolons, a date and a time of day in two columns, month-first or
// day-first slash dates, and "Last" for close. Each refusal names the line, the column and what
// was expected. The reader ignored the Time column and split semicolon rows at no separator.
TEST(BarsCsv, RegressionExportsOfChartingToolsReadOrRefusedByName) {
  struct Case {
    const char* name;
    const char* csv;
    const char* error;  // nullptr: read, the first bar at `time` with close `close`
    double time;
    double close;
  };
  const Case cases[] = {
      {"semicolons, decimal comma, day-first Date and Time",
       "Date;Time;Open;High;Low;Close;Volume\n12/01/2025;09:30;21500,25;21510,5;21490;21505,75;1200\n"
       "13/01/2025;09:30;21505,75;21520;21500;21515;900\n",
       nullptr, 1736692200, 21505.75},
      {"tabs, month-first date-times, Last",
       "Time\tOpen\tHigh\tLow\tLast\tVolume\r\n01/13/2025 "
       "9:30:00\t21500.25\t21510.5\t21490\t21505.75\t1200\r\n"
       "01/13/2025 9:35:00\t21505.75\t21520\t21500\t21515\t900\r\n",
       nullptr, 1736778600, 21505.75},
      {"a later date tells the order of the first",
       "Date,Time,Open,High,Low,Last\n01/10/2025,09:30,1,4,0.5,2\n01/13/2025,09:30,1,4,0.5,3\n", nullptr,
       1736519400, 2},
      {"ISO date and time columns", "date,time,open,high,low,close\n2025-01-02,09:30,1,4,0.5,2\n", nullptr,
       1735828200, 2},
      {"semicolons with decimal points", "Date;Open;High;Low;Close\n2025-01-02;1.5;4;0.5;2.25\n", nullptr,
       1735794000, 2.25},
      {"a comma inside a quoted header field", "Open;High;Low;Close;\"Vol, total\"\n1;4;0,5;2,5;7\n", nullptr,
       kNoBarTime, 2.5},
      {"close beside last", "open,high,low,last,close\n1,4,0.5,3,2\n", nullptr, kNoBarTime, 2},
      {"a time column with an offset",
       "time,open,high,low,close\n2025-01-02T09:30:00-05:00,1,4,0.5,2\n2025-01-02T09:35:00-05:00,1,4,0.5,3\n",
       nullptr, 1735828200, 2},
      {"a Date column of date-times and seconds",
       "Date,o,h,l,c\n2025-01-02 09:30,1,4,0.5,2.5\n1735828500,1,4,0.5,3\n", nullptr, 1735828200, 2.5},
      {"a Timestamp column last",
       "open,high,low,close,Timestamp\n1,4,0.5,2,1735828200\n1,4,0.5,3,1735828260\n", nullptr, 1735828200, 2},
      {"no time column", "open,high,low,close\n1,4,0.5,2\n1,4,0.5,3\n", nullptr, kNoBarTime, 2},
      {"slash dates that read two ways",
       "Date,Time,Open,High,Low,Close\n03/04/2025,09:30,1,4,0.5,2\n03/04/2025,09:35,1,4,0.5,2\n",
       "line 2: Date 03/04/2025 reads as 2025-03-04 (month first) or 2025-04-03 (day first), and no date in "
       "the "
       "file has a day above 12 to tell which: expected dates as YYYY-MM-DD",
       0, 0},
      {"a thousands separator", "Open;High;Low;Close\n21.500,25;21.510;21.490;21.505\n",
       "line 2: open is not a decimal number (a thousands separator is not allowed): 21.500,25", 0, 0},
      {"two decimal marks", "Open;High;Low;Close\n21500,25;21510,5;21490;21505\n21505;21520.5;21500;21515\n",
       "line 3: high is not a decimal number (it has a decimal point where line 2 has a decimal comma; a "
       "thousands "
       "separator is not allowed): 21520.5",
       0, 0},
      {"a decimal comma beside tabs", "Open\tHigh\tLow\tClose\n1,5\t4\t0.5\t2\n",
       "line 2: open is not a decimal number (a decimal comma is read only in a file separated by "
       "semicolons): 1,5",
       0, 0},
      {"a header without low", "Date;Open;High;Close\n2025-01-02;1;4;2\n",
       "line 1: the header names open, high and close but not low: expected columns open, high, low and "
       "close "
       "(or last)",
       0, 0},
      {"a time in the Date column", "Date,Time,Open,High,Low,Close\n2025-01-02 09:30,09:30,1,4,0.5,2\n",
       "line 2: Date 2025-01-02 09:30 is not a date: expected YYYY-MM-DD or MM/DD/YYYY beside the Time "
       "column",
       0, 0},
      {"a twelve-hour time", "Date,Time,Open,High,Low,Close\n01/13/2025,9:30 AM,1,4,0.5,2\n",
       "line 2: Time 9:30 AM is not a time of day: expected hh:mm or hh:mm:ss (24-hour), an offset such as "
       "-05:00 "
       "allowed",
       0, 0},
      {"a repeated date and time",
       "Date,Time,Open,High,Low,Close\n2025-01-02,09:30,1,4,0.5,2\n2025-01-02,09:30,1,4,0.5,2\n",
       "line 3: Date and Time 2025-01-02 09:30 is not later than the bar before (line 2): expected bars in "
       "time "
       "order",
       0, 0},
      {"a row without its time of day", "Date,Open,High,Low,Close,Time\n2025-01-02,1,4,0.5,2\n",
       "line 2: no Time (the row has 5 fields)", 0, 0},
  };
  for (const Case& c : cases) {
    std::vector<Bar> bars;
    std::string error;
    EXPECT_EQ(ReadBarsCsv(c.csv, BarRules::kChart, &bars, &error), c.error == nullptr)
        << c.name << ": " << error;
    if (c.error != nullptr) {
      EXPECT_EQ(error, c.error) << c.name;
      continue;
    }
    ASSERT_FALSE(bars.empty()) << c.name;
    EXPECT_EQ(bars[0].close, c.close) << c.name;
    EXPECT_EQ(HasTime(bars[0]), std::isfinite(c.time)) << c.name;
    if (std::isfinite(c.time)) {
      EXPECT_DOUBLE_EQ(bars[0].time, c.time) << c.name;
    }
  }
}

// A scenario's bars file takes the export forms that no file it read before could hold, and
// keeps reading a Date column alone beside a Time column, as it did.
TEST(BarsCsv, ScenarioBarsTakeNewFormsAndReadOldFilesAsBefore) {
  const char* dateAndTime =
      "Date,Time,Open,High,Low,Close\n2025-01-02,09:30,1,4,0.5,2\n2025-01-03,09:30,1,4,0.5,3\n";
  std::vector<Bar> chart, scenario;
  std::string error;
  ASSERT_TRUE(ReadBarsCsv(dateAndTime, BarRules::kChart, &chart, &error)) << error;
  ASSERT_TRUE(ReadBarsCsv(dateAndTime, BarRules::kScenario, &scenario, &error)) << error;
  EXPECT_EQ(chart[0].time, 1735828200);
  EXPECT_EQ(scenario[0].time, 1735794000);  // New York midnight of the date, as before
  ASSERT_TRUE(ReadBarsCsv("Time;Open;High;Low;Last\n01/13/2025 9:30;1e3;2,5e3;5e2;1,5e3\n",
                          BarRules::kScenario, &scenario, &error))
      << error;
  EXPECT_EQ(scenario[0].time, 1736778600);
  EXPECT_EQ(scenario[0].high, 2500);
  EXPECT_EQ(scenario[0].close, 1500);
}

}  // namespace
}  // namespace formats
