#include "cli/chart_options.h"

#include <gtest/gtest.h>

namespace cli {
namespace {

TEST(ChartOptions, ReadsEveryOption) {
  ChartOptions o;
  std::string error;
  ASSERT_TRUE(ParseChartArgs({"--origin", "https://levels.example", "--route", "https://a.example=http://127.0.0.1:9",
                              "--route=https://b.example/=http://127.0.0.1:8", "--bars=b.csv", "--symbol", "ESH26",
                              "--tick-size", "0.5", "--set", "Line width=2", "--set=Panel anchor=Top right",
                              "--click", "Fold", "--click", "Fear", "--size", "800x600", "--out", "pics/x.png",
                              "--chart-file", "c.json", "--study", "s.so", "--live"},
                             &o, &error))
      << error;
  EXPECT_EQ(o.origin, "https://levels.example");
  ASSERT_EQ(o.routes.size(), 2u);
  EXPECT_EQ(o.routes[0].from, "https://a.example");
  EXPECT_EQ(o.routes[1].to, "http://127.0.0.1:8");
  EXPECT_EQ(o.barsFile, "b.csv");
  EXPECT_EQ(o.symbol, "ESH26");
  EXPECT_EQ(o.tickSize, 0.5);
  EXPECT_EQ(o.sets, (std::vector<std::string>{"Line width=2", "Panel anchor=Top right"}));
  EXPECT_EQ(o.clicks, (std::vector<std::string>{"Fold", "Fear"}));
  EXPECT_EQ(o.width, 800);
  EXPECT_EQ(o.height, 600);
  EXPECT_EQ(PictureBase(o.out), "pics/x");
  EXPECT_EQ(o.chartFile, "c.json");
  EXPECT_EQ(o.study, "s.so");
  EXPECT_TRUE(o.live);
}

TEST(ChartOptions, DefaultsWithoutArguments) {
  ChartOptions o;
  std::string error;
  ASSERT_TRUE(ParseChartArgs({}, &o, &error));
  EXPECT_TRUE(o.origin.empty());
  EXPECT_EQ(o.symbol, "NQZ25");
  EXPECT_EQ(o.width, 1280);
  EXPECT_EQ(o.height, 720);
  EXPECT_EQ(o.out, "ordinel-chart");
  EXPECT_FALSE(o.live);
}

TEST(ChartOptions, RefusesBadArguments) {
  struct Case {
    Args args;
    const char* message;
  };
  const std::vector<Case> cases = {
      {{"--bogus"}, "unknown argument '--bogus'"},
      {{"--bogus=1"}, "unknown option '--bogus'"},
      {{"positional"}, "unknown argument 'positional'"},
      {{"--out"}, "--out needs a value"},
      {{"--out="}, "--out needs a non-empty value"},
      {{"--origin", "ftp://x"}, "--origin 'ftp://x' is not a service URL: it does not start with http:// or https://"},
      {{"--route", "https://a.example=ftp://b"},
       "--route: route 'https://a.example=ftp://b' needs two origins such as https://host=http://127.0.0.1:8080"},
      {{"--tick-size", "0"}, "--tick-size needs a positive number, got '0'"},
      {{"--tick-size", "0.25x"}, "--tick-size needs a positive number, got '0.25x'"},
      {{"--tick-size", "nan"}, "--tick-size needs a positive number, got 'nan'"},
      {{"--size", "199x600"}, "--size needs WxH with each side 200 to 8000, got '199x600'"},
      {{"--size", "800x"}, "--size needs WxH with each side 200 to 8000, got '800x'"},
      {{"--size", "-800x600"}, "--size needs WxH with each side 200 to 8000, got '-800x600'"},
      {{"--size", "99999999x600"}, "--size needs WxH with each side 200 to 8000, got '99999999x600'"},
      {{"--set", "novalue"}, "--set needs LABEL=VALUE, got 'novalue'"},
      {{"--set", "=5"}, "--set needs LABEL=VALUE, got '=5'"},
  };
  for (const Case& c : cases) {
    ChartOptions o;
    std::string error;
    EXPECT_FALSE(ParseChartArgs(c.args, &o, &error)) << c.message;
    EXPECT_EQ(error, c.message);
  }
}

TEST(ChartOptions, PictureBaseDropsOnlyPictureExtensions) {
  EXPECT_EQ(PictureBase("a/b.svg"), "a/b");
  EXPECT_EQ(PictureBase("a/b.png"), "a/b");
  EXPECT_EQ(PictureBase("a/b.jpg"), "a/b.jpg");
  EXPECT_EQ(PictureBase(".png"), ".png");
}

}  // namespace
}  // namespace cli
