#include "formats/option_table.h"

#include <gtest/gtest.h>

#include "text/fail.h"

namespace formats {
namespace {

struct Record {
  bool live = false;
  int port = -1;
  double pace = -1;
  double clockRate = 1;
  double rate = 0;
  std::string bars;
  std::vector<std::string> clicks;
  std::string mode;
  std::vector<std::string> routes;
  std::string chain;
};

// One row of every kind, a positional and a rule between options.
OptionTable TestTable(Record* r) {
  OptionTable table;
  table.command = "prog run";
  table.positionals = {Positional("CHAIN|-", "chain", "the chain", &r->chain)};
  table.options = {
      Flag("--live", "keep going", &r->live),
      Whole("--port", "N", 0, 65535, "the port", &r->port),
      Number("--pace", "SECONDS", {.min = 0, .max = 3600}, "the pace", &r->pace),
      Number("--clock-rate", "N", {.min = 0, .max = 3600, .minOpen = true}, "the rate", &r->clockRate),
      Number("--rate", "R", {}, "any rate", [r](double v) { r->rate = v; }),
      Text("--bars", "FILE", "the bars", &r->bars),
      TextList("--click", "TEXT", "press", &r->clicks),
      Choice("--mode", "MODE", {"legacy", "multi"}, "the mode", &r->mode),
      Repeatable(Checked("--route", "FROM=TO", "FROM=TO", "a route",
                         [r](const std::string& v, std::string* why) {
                           if (v.find('=') == std::string::npos) return false;
                           if (v == "x=y") return text::Fail(why, "route 'x=y' names no origin");
                           r->routes.push_back(v);
                           return true;
                         })),
  };
  table.check = [r](const ParsedArguments& parsed, std::string* error) {
    return r->live || !WasGiven(parsed, "--port") || text::Fail(error, "--port needs --live");
  };
  return table;
}

TEST(OptionTable, ReadsEveryKindInBothForms) {
  Record r;
  ParsedArguments parsed;
  std::string error;
  ASSERT_TRUE(ParseArguments(
      TestTable(&r),
      {"--live", "--port=0", "--pace", "0.5", "--clock-rate=3600", "--rate", "-0.01", "--bars", "--live",
       "--click", "a", "--click=b=c", "-", "--mode=multi", "--route", "p=q", "--route=r=s"},
      &parsed, &error))
      << error;
  EXPECT_TRUE(r.live);
  EXPECT_EQ(r.port, 0);
  EXPECT_EQ(r.pace, 0.5);
  EXPECT_EQ(r.clockRate, 3600);
  EXPECT_EQ(r.rate, -0.01);
  EXPECT_EQ(r.bars, "--live");  // a value is taken whatever it looks like
  EXPECT_EQ(r.clicks, (std::vector<std::string>{"a", "b=c"}));
  EXPECT_EQ(r.chain, "-");
  EXPECT_EQ(r.mode, "multi");
  EXPECT_EQ(r.routes, (std::vector<std::string>{"p=q", "r=s"}));
  EXPECT_FALSE(parsed.help);
  EXPECT_EQ(parsed.given,
            (std::vector<std::string>{"--live", "--port", "--pace", "--clock-rate", "--rate", "--bars",
                                      "--click", "--click", "--mode", "--route", "--route"}));
}

TEST(OptionTable, OneMessageForEachKindOfMistake) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"c", "--bras", "x"}, "unknown option '--bras' (did you mean --bars?)"},
      {{"c", "--prot=5"}, "unknown option '--prot' (did you mean --port?)"},
      {{"c", "-port", "5"}, "unknown option '-port' (did you mean --port?)"},
      {{"c", "--hlep"}, "unknown option '--hlep' (did you mean --help?)"},
      {{"c", "--clock"}, "unknown option '--clock' (did you mean --clock-rate?)"},
      {{"c", "--c"}, "unknown option '--c'"},  // begins --click and --clock-rate alike
      {{"c", "--xyzzy"}, "unknown option '--xyzzy'"},
      {{"c", "-x"}, "unknown option '-x'"},
      {{"c", "--port"}, "--port needs a value"},
      {{"c", "--bars="}, "--bars needs a value"},
      {{"c", "--bars", ""}, "--bars needs a value"},
      {{"c", "--live=yes"}, "--live takes no value"},
      {{"c", "--help=1"}, "--help takes no value"},
      {{"c", "--port", "65536"}, "--port needs a whole number from 0 to 65535, got '65536'"},
      {{"c", "--port", "-1"}, "--port needs a whole number from 0 to 65535, got '-1'"},
      {{"c", "--port", "8o"}, "--port needs a whole number from 0 to 65535, got '8o'"},
      {{"c", "--pace", "3600.5"}, "--pace needs a number from 0 to 3600, got '3600.5'"},
      {{"c", "--pace", "1s"}, "--pace needs a number from 0 to 3600, got '1s'"},
      {{"c", "--clock-rate", "0"}, "--clock-rate needs a number above 0 up to 3600, got '0'"},
      {{"c", "--rate", "nan"}, "--rate needs a number, got 'nan'"},
      {{"c", "--rate", "inf"}, "--rate needs a number, got 'inf'"},
      {{"c", "--mode", "Multi"}, "--mode needs one of legacy, multi, got 'Multi'"},
      {{"c", "--route", "pq"}, "--route needs FROM=TO, got 'pq'"},
      {{"c", "--route", "x=y"}, "--route: route 'x=y' names no origin"},
      {{"c", "--live", "--port", "1", "--port=2"}, "--port given twice"},
      {{"c", "--live", "--live"}, "--live given twice"},
      {{"c", "d"}, "unexpected argument 'd'"},
      {{"--live"}, "no chain given"},
      {{""}, "the chain argument is empty"},
      {{"c", "--port", "1"}, "--port needs --live"},
      {{"c", "d", "-h"}, "unexpected argument 'd'"},  // a mistake before --help still counts
  };
  for (const Case& c : cases) {
    Record r;
    ParsedArguments parsed;
    std::string error;
    EXPECT_FALSE(ParseArguments(TestTable(&r), c.args, &parsed, &error)) << c.message;
    EXPECT_EQ(error, c.message);
  }
}

TEST(OptionTable, HelpStopsTheReadingAndSkipsTheRules) {
  const std::vector<std::vector<std::string>> cases = {
      {"--help"}, {"-h", "--bogus"}, {"--port", "1", "--help"}};
  for (const std::vector<std::string>& args : cases) {
    Record r;
    ParsedArguments parsed;
    std::string error;
    EXPECT_TRUE(ParseArguments(TestTable(&r), args, &parsed, &error)) << args.front() << ": " << error;
    EXPECT_TRUE(parsed.help) << args.front();
  }
}

TEST(OptionTable, UsageAlignsTheHelpAndKeepsLongEntriesApart) {
  std::string chain;
  std::string study;
  std::string expiries;
  OptionTable table;
  table.command = "prog replay";
  table.summary = "Runs a scenario.\n";
  table.positionals = {Positional("SCENARIO.json", "scenario", "at most 64 MiB", &chain)};
  table.options = {Text("--study", "PATH", "the study library\n(default: beside the program)", &study),
                   Text("--expiries", "D1,D2,...,D24,D25", "the dates", &expiries)};
  table.epilogue = "Exit status 0.\n";
  EXPECT_EQ(UsageText(table),
            "usage: prog replay SCENARIO.json [--study PATH] [--expiries D1,D2,...,D24,D25]\n"
            "Runs a scenario.\n"
            "  SCENARIO.json  at most 64 MiB\n"
            "  --study PATH   the study library\n"
            "                 (default: beside the program)\n"
            "  --expiries D1,D2,...,D24,D25\n"
            "                 the dates\n"
            "  -h, --help     print this text\n"
            "Exit status 0.\n");
}

TEST(OptionTable, UsageSaysOptionsWhenTheyDoNotFitOneLine) {
  Record r;
  const std::string usage = UsageText(TestTable(&r));
  EXPECT_EQ(usage.substr(0, usage.find('\n')), "usage: prog run CHAIN|- [OPTIONS]");
  EXPECT_NE(usage.find("\n  --route FROM=TO  a route\n"), std::string::npos) << usage;
}

TEST(OptionTable, ReadsWholeNumbers) {
  struct Case {
    const char* text;
    int min;
    int max;
    bool ok;
    int value;
  };
  const Case cases[] = {
      {"0", 0, 65535, true, 0},
      {"65535", 0, 65535, true, 65535},
      {"007", 0, 9, true, 7},
      {"-5", -10, 10, true, -5},
      {"65536", 0, 65535, false, 0},
      {"-1", 0, 5, false, 0},
      {"+1", 0, 5, false, 0},
      {"", 0, 5, false, 0},
      {"-", -5, 5, false, 0},
      {"1x", 0, 5, false, 0},
      {" 1", 0, 5, false, 0},
      {"99999999999999999999999", 0, 2147483647, false, 0},
      {"2147483647", 0, 2147483647, true, 2147483647},
  };
  for (const Case& c : cases) {
    int value = 0;
    EXPECT_EQ(ReadWholeNumber(c.text, c.min, c.max, &value), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

}  // namespace
}  // namespace formats
