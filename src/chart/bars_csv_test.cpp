#include "chart/bars_csv.h"

#include <gtest/gtest.h>

namespace chart {
namespace {

TEST(BarsCsv, ColumnsByHeaderNameOrFirstFour) {
  struct Case {
    const char* csv;
    double close;
  };
  const Case cases[] = {
      {"open,high,low,close\n1,4,0.5,2\n", 2},
      {"Time,Open,High,Low,Close,Volume\r\n20250101,1,4,0.5,3,99\r\n\r\n", 3},
      {"o,h,l,c\n1,4,0.5,2.25,extra\n", 2.25},
  };
  for (const Case& c : cases) {
    std::vector<Bar> bars;
    std::string error;
    ASSERT_TRUE(ReadBarsCsv(c.csv, &bars, &error)) << c.csv << error;
    ASSERT_EQ(bars.size(), 1u) << c.csv;
    EXPECT_EQ(bars[0].open, 1) << c.csv;
    EXPECT_EQ(bars[0].high, 4) << c.csv;
    EXPECT_EQ(bars[0].low, 0.5) << c.csv;
    EXPECT_EQ(bars[0].close, c.close) << c.csv;
  }
}

TEST(BarsCsv, BadRowsNameTheirLine) {
  struct Case {
    const char* csv;
    const char* error;
  };
  const Case cases[] = {
      {"open,high,low,close\n1,2,3,4\n1,2,x,4\n", "line 3: low is not a number"},
      {"open,high,low,close\n1,2,3\n", "line 2: close is not a number"},
      {"open,high,low,close\n1,2,3,nan\n", "line 2: close is not a number"},
      {"open,high,price\n1,2,3\n", "line 1: the header names only some of open, high, low, close"},
      {"\n\n", "no header row"},
  };
  for (const Case& c : cases) {
    std::vector<Bar> bars;
    std::string error;
    EXPECT_FALSE(ReadBarsCsv(c.csv, &bars, &error)) << c.csv;
    EXPECT_EQ(error, c.error) << c.csv;
  }
}

}  // namespace
}  // namespace chart
