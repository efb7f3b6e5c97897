#include "cli/chart_options.h"

#include <gtest/gtest.h>

#include "cli/commands.h"

namespace cli {
namespace {

bool ParseChartArgs(const Args& args, ChartOptions* options, std::string* error) {
  formats::ParsedArguments parsed;
  return formats::ParseArguments(ChartOptionTable(options), args, &parsed, error);
}

TEST(ChartOptions, ReadsEveryOption) {
  ChartOptions o;
  std::string error;
  Args args = {"--origin", "https://levels.example", "--route", "https://a.example=http://127.0.0.1:9"};
  args.insert(args.end(),
              {"--route=https://b.example/=http://127.0.0.1:8", "--bars=b.csv", "--symbol", "ESH26"});
  args.insert(args.end(), {"--tick-size", "0.5", "--set", "Line width=2", "--set=Panel anchor=Top right"});
  args.insert(args.end(), {"--click", "Fold", "--click", "Fear", "--size", "800x600", "--out", "pics/x.png"});
  args.insert(args.end(), {"--chart-file", "c.json", "--study", "s.so", "--live"});
  ASSERT_TRUE(ParseChartArgs(args, &o, &error)) << error;
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

TEST(ChartOptions, ReadsTheChainOptionsWithTheirOwnSymbol) {
  ChartOptions o;
  std::string error;
  ASSERT_TRUE(ParseChartArgs(
      {"--chain", "q.json", "--chain-symbol=QQQ", "--symbol", "ESH26", "--ratio", "41.25", "--rate", "-0.01"},
      &o, &error))
      << error;
  EXPECT_EQ(o.chain.chain, "q.json");
  EXPECT_EQ(o.chain.settings.symbol, "QQQ");
  EXPECT_EQ(o.symbol, "ESH26");
  EXPECT_EQ(o.chain.settings.mapping.source, engine::FuturesMapping::Source::kRatio);
  EXPECT_EQ(o.chain.settings.mapping.ratio, 41.25);
  EXPECT_EQ(o.chain.settings.rate, -0.01);
}

TEST(ChartOptions, RefusesBadArguments) {
  struct Case {
    Args args;
    const char* message;
  };
  const std::vector<Case> cases = {
      {{"--bogus"}, "unknown option '--bogus'"},
      {{"--bogus=1"}, "unknown option '--bogus'"},
      {{"--bras", "b.csv"}, "unknown option '--bras' (did you mean --bars?)"},
      {{"--chain-sybmol", "QQQ"}, "unknown option '--chain-sybmol' (did you mean --chain-symbol?)"},
      {{"--expiry-mode", "multi"}, "unknown option '--expiry-mode'"},  // engine's own
      {{"b.csv"}, "unexpected argument 'b.csv'"},
      {{"--out"}, "--out needs a value"},
      {{"--out="}, "--out needs a value"},
      {{"--out", "a", "--out=b"}, "--out given twice"},
      // These wrote hidden ".png" and ".svg" files into a directory.
      {{"--out", "/"}, "--out needs a path that ends in a file name, got '/'"},
      {{"--out", "pics/"}, "--out needs a path that ends in a file name, got 'pics/'"},
      {{"--out", "pics/.png"}, "--out needs a path that ends in a file name, got 'pics/.png'"},
      {{"--out", "."}, "--out needs a path that ends in a file name, got '.'"},
      {{"--out", "pics/.."}, "--out needs a path that ends in a file name, got 'pics/..'"},
      {{"--live=yes"}, "--live takes no value"},
      {{"--origin", "ftp://x"},
       "--origin: 'ftp://x' is not a service URL: it does not start with http:// or https://"},
      {{"--route", "https://a.example=ftp://b"},
       "--route: route 'https://a.example=ftp://b' needs two origins such as "
       "https://host=http://127.0.0.1:8080"},
      {{"--tick-size", "0"}, "--tick-size needs a number above 0, got '0'"},
      {{"--tick-size", "nan"}, "--tick-size needs a number above 0, got 'nan'"},
      {{"--size", "199x600"}, "--size needs WxH with each side 200 to 8000, got '199x600'"},
      {{"--size", "800x"}, "--size needs WxH with each side 200 to 8000, got '800x'"},
      {{"--set", "novalue"}, "--set needs LABEL=VALUE, got 'novalue'"},
      {{"--set", "=5"}, "--set needs LABEL=VALUE, got '=5'"},
      {{"--port", "0"}, "--port needs --serve"},
      {{"--pace=2", "--live"}, "--pace needs --serve"},
      {{"--clock-rate", "60"}, "--clock-rate needs --serve"},
      {{"--serve", "--port", "65536"}, "--port needs a whole number from 0 to 65535, got '65536'"},
      {{"--serve", "--port", "-1"}, "--port needs a whole number from 0 to 65535, got '-1'"},
      {{"--serve", "--pace", "-1"}, "--pace needs a number from 0 to 3600, got '-1'"},
      {{"--serve", "--clock-rate", "0"}, "--clock-rate needs a number above 0 up to 3600, got '0'"},
      {{"--serve", "--clock-rate", "inf"}, "--clock-rate needs a number above 0 up to 3600, got 'inf'"},
      {{"--chain", "q.json", "--origin", "http://127.0.0.1:9"},
       "--chain computes the levels itself: it cannot be combined with --origin"},
      {{"--chain", "q.json", "--ratio", "40", "--future-price=21500"},
       "give --future-price or --ratio, not both"},
      {{"--chain", "q.json", "--spot", "5O0"}, "--spot needs a number, got '5O0'"},
  };
  for (const Case& c : cases) {
    ChartOptions o;
    std::string error;
    EXPECT_FALSE(ParseChartArgs(c.args, &o, &error)) << c.message;
    EXPECT_EQ(error, c.message);
  }
}

TEST(ChartOptions, ServedChartOptionsInAnyOrder) {
  struct Case {
    Args args;
    int port;
    double pace;
    double rate;
    bool outGiven;
  };
  const std::vector<Case> cases = {
      {{"--serve"}, kDefaultServePort, -1, 1, false},
      {{"--port", "0", "--serve", "--pace=0.5", "--clock-rate", "60"}, 0, 0.5, 60, false},
      {{"--serve", "--pace", "0", "--out", "served"}, kDefaultServePort, 0, 1, true},
  };
  for (const Case& c : cases) {
    ChartOptions o;
    std::string error;
    ASSERT_TRUE(ParseChartArgs(c.args, &o, &error)) << c.args[0] << " " << error;
    EXPECT_TRUE(o.serve) << c.args[0];
    EXPECT_EQ(o.port, c.port) << c.args[0];
    EXPECT_EQ(o.paceSeconds, c.pace) << c.args[0];
    EXPECT_EQ(o.clockRate, c.rate) << c.args[0];
    EXPECT_EQ(o.outGiven, c.outGiven) << c.args[0];
  }
}

TEST(ChartOptions, PictureBaseDropsOnlyPictureExtensions) {
  EXPECT_EQ(PictureBase("a/b.svg"), "a/b");
  EXPECT_EQ(PictureBase("a/b.jpg"), "a/b.jpg");
  EXPECT_EQ(PictureBase(".png"), ".png");
}

}  // namespace
}  // namespace cli
