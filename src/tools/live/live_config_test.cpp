#include "live/live_config.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "text/format.h"

namespace live {
namespace {

std::optional<std::string> TestEnvironment(const std::string& name) {
  static const std::map<std::string, std::string> vars = {
      {"BROKER_TOKEN", "Bearer abc123"}, {"SERVICE_TOKEN", "0123456789abcdef-XYZ"}, {"BROKEN", "a\r\nX: y"}};
  const auto found = vars.find(name);
  return found != vars.end() ? std::optional<std::string>(found->second) : std::nullopt;
}

bool Parse(const std::string& text, LiveConfig* out, std::string* error) {
  return ParseLiveConfig(text, "t.toml", "/etc/ordinel", TestEnvironment, out, error);
}

std::string Argv(const std::vector<std::string>& argv) {
  std::string out;
  for (const std::string& a : argv) out += "<" + a + ">";
  return out;
}

std::string Source(const ValueSource& v) {
  switch (v.kind) {
    case ValueSource::Kind::kNone: return "none";
    case ValueSource::Kind::kNumber: return text::Format("number %g", v.number);
    case ValueSource::Kind::kUrl: return "url " + v.url;
    case ValueSource::Kind::kCommand: return "command " + Argv(v.command);
  }
  return "?";
}

// Every field of one symbol on a line.
std::string Line(const SymbolConfig& s) {
  std::string chain = s.chain.kind == ChainSource::Kind::kUrl    ? "url " + s.chain.url
                      : s.chain.kind == ChainSource::Kind::kFile ? "file " + s.chain.path
                                                                 : "command " + Argv(s.chain.command);
  std::string headers;
  for (const auto& [name, value] : s.headers) headers += name + "=" + value + ";";
  return text::Format(
      "%s | %s | %s| %d/%d/%d | future '%s' ratio %s price %s | spot %s | rate %s dividend %s", s.name, chain,
      headers, s.intervalSeconds, s.offHoursIntervalSeconds, s.timeoutSeconds, s.future,
      Source(s.futureRatio), Source(s.futurePrice), Source(s.spot),
      s.rate ? text::Format("%g", *s.rate) : "-", s.dividend ? text::Format("%g", *s.dividend) : "-");
}

TEST(LiveConfig, TheIssuesExampleReadsAsWritten) {
  const std::string text = R"toml(
listen = "127.0.0.1:8077"        # loopback by default
store = "ordinel-levels.sqlite"   # the history
retention_days = 30

[[symbol]]
name = "qqq"
url = "https://example.invalid/chains/{symbol}.json"
headers = { Authorization = "env:BROKER_TOKEN", Accept = "application/json" }
interval = 60
off_hours_interval = 900
future = "NQ"
ratio = 41.25

[[symbol]]
name = "SPX"
file = "../chains/{symbol}.csv"
spot_command = ["spot-of", "{symbol}"]
future = "es"
future_price_url = "http://127.0.0.1:9000/price/ES"
rate = 0.04
dividend = 0.013
timeout = 5

[[symbol]]
name = "IWM"
command = ["fetch-chain", "--symbol", "{symbol}"]
spot = 221.5
interval = 3600
)toml";
  LiveConfig c;
  std::string error;
  ASSERT_TRUE(Parse(text, &c, &error)) << error;
  EXPECT_EQ(c.configDir, "/etc/ordinel");
  EXPECT_EQ(c.listen.host, "127.0.0.1");
  EXPECT_EQ(c.listen.port, 8077);
  EXPECT_EQ(c.token, "");
  EXPECT_EQ(c.storePath, "/etc/ordinel/ordinel-levels.sqlite");
  EXPECT_EQ(c.retentionDays, 30);
  ASSERT_EQ(c.symbols.size(), 3u);
  EXPECT_EQ(Line(c.symbols[0]),
            "QQQ | url https://example.invalid/chains/QQQ.json | "
            "Accept=application/json;Authorization=Bearer abc123;"
            "| 60/900/30 | future 'NQ' ratio number 41.25 price none | spot none | rate - dividend -");
  EXPECT_EQ(Line(c.symbols[1]),
            "SPX | file /etc/chains/SPX.csv | | 60/900/5 | future 'ES' ratio none price url "
            "http://127.0.0.1:9000/price/ES | spot command <spot-of><SPX> | rate 0.04 dividend 0.013");
  EXPECT_EQ(Line(c.symbols[2]),
            "IWM | command <fetch-chain><--symbol><IWM> | | 3600/3600/30 | future '' ratio none price none | "
            "spot number 221.5 | rate - dividend -");
}

TEST(LiveConfig, DefaultsAndTokens) {
  struct Case {
    std::string text;
    std::string host;
    int port;
    std::string token;
    std::string store;
  };
  const std::string symbol = "\n[[symbol]]\nname = \"QQQ\"\nfile = \"/data/qqq.json\"\n";
  const Case cases[] = {
      {symbol, "127.0.0.1", 8077, "", "/etc/ordinel/ordinel-levels.sqlite"},
      {"listen = \"[::1]:0\"\nstore = \"/var/lib/levels.db\"" + symbol, "::1", 0, "", "/var/lib/levels.db"},
      {"listen = \"localhost:9000\"\ntoken = \"env:SERVICE_TOKEN\"" + symbol, "localhost", 9000,
       "0123456789abcdef-XYZ", "/etc/ordinel/ordinel-levels.sqlite"},
      {"listen = \"0.0.0.0:8077\"\ntoken = \"abcdefghijklmnop~._-\"\nstore = \"db/x.sqlite\"" + symbol,
       "0.0.0.0", 8077, "abcdefghijklmnop~._-", "/etc/ordinel/db/x.sqlite"},
  };
  for (const Case& c : cases) {
    LiveConfig config;
    std::string error;
    ASSERT_TRUE(Parse(c.text, &config, &error)) << c.text << "\n" << error;
    EXPECT_EQ(config.listen.host, c.host) << c.text;
    EXPECT_EQ(config.listen.port, c.port) << c.text;
    EXPECT_EQ(config.token, c.token) << c.text;
    EXPECT_EQ(config.storePath, c.store) << c.text;
  }
}

// Each configuration holds one problem (two in the last rows) and gets exactly these lines.
TEST(LiveConfig, EveryProblemGetsItsLineWithTheKeyPath) {
  const std::string qqq = "[[symbol]]\nname = \"QQQ\"\n";
  const std::string file = "file = \"q.json\"\n";
  struct Case {
    std::string text;
    std::string error;
  };
  const Case cases[] = {
      // The top level.
      {"", "t.toml: symbol: no [[symbol]] table: give at least one"},
      {"symbol = 3\n", "t.toml:1: symbol: expected [[symbol]] tables"},
      {"listen = \"127.0.0.1\"\n" + qqq + file,
       "t.toml:1: listen: expected HOST:PORT, such as 127.0.0.1:8077 or [::1]:8077"},
      {"listen = \"127.0.0.1:65536\"\n" + qqq + file,
       "t.toml:1: listen: expected a port from 0 to 65535 after the last ':', such as 127.0.0.1:8077 or "
       "[::1]:8077"},
      {"listen = \"127.0.0.300:80\"\n" + qqq + file,
       "t.toml:1: listen: expected an IPv4 address, a host name or a bracketed IPv6 address before the port, "
       "such "
       "as 127.0.0.1:8077 or [::1]:8077"},
      {"listen = 8077\n" + qqq + file, "t.toml:1: listen: expected a text in quotes"},
      {"listen = \"0.0.0.0:8077\"\n" + qqq + file,
       "t.toml:1: listen: 0.0.0.0 is not a loopback address: give a token, so that every path is served "
       "under "
       "/<token>/ only"},
      {"listen = \"[::]:8077\"\ntoken = \"short\"\n" + qqq + file,
       "t.toml:2: token: expected 16 to 128 characters from A-Z a-z 0-9 - . _ ~ (it starts every path)"},
      {"token = \"abcdefghijklmnop/q\"\n" + qqq + file,
       "t.toml:1: token: expected 16 to 128 characters from A-Z a-z 0-9 - . _ ~ (it starts every path)"},
      {"token = \"env:NO_SUCH\"\n" + qqq + file, "t.toml:1: token: environment variable NO_SUCH is not set"},
      {"store = \"\"\n" + qqq + file, "t.toml:1: store: expected a file path"},
      {"retention_days = 0\n" + qqq + file,
       "t.toml:1: retention_days: expected a whole number of days from 1 to 3650"},
      {"retension_days = 5\n" + qqq + file,
       "t.toml:1: retension_days: unknown key (did you mean retention_days?)"},
      {"colour = \"red\"\n" + qqq + file, "t.toml:1: colour: unknown key"},
      // One symbol.
      {"[[symbol]]\nfile = \"q.json\"\n",
       "t.toml:1: symbol[1]: no name: give the chain's underlying, such as name = \"QQQ\""},
      {"[[symbol]]\nname = \"Q Q\"\n" + file,
       "t.toml:2: symbol[1].name: expected a symbol of 1 to 16 letters, digits, '.', '-' or '_'"},
      {qqq, "t.toml:1: symbol[1]: no chain source: give one of url, file or command"},
      {qqq + file + "url = \"https://x.invalid/q\"\n",
       "t.toml:1: symbol[1]: give only one of url, file, command (found url and file)"},
      {qqq + "url = \"ftp://x.invalid/{symbol}\"\n",
       "t.toml:3: symbol[1].url: expected an http:// or https:// URL without blanks"},
      {qqq + "url = \"https://x.invalid/a b\"\n",
       "t.toml:3: symbol[1].url: expected an http:// or https:// URL without blanks"},
      {qqq + "command = []\n",
       "t.toml:3: symbol[1].command: expected a list of texts, a program and its arguments, such as "
       "[\"prog\", \"arg\"]"},
      {qqq + "command = [\"prog\", 3]\n",
       "t.toml:3: symbol[1].command: expected a list of texts, a program and its arguments, such as "
       "[\"prog\", \"arg\"]"},
      {qqq + file + "headers = { A = \"b\" }\n", "t.toml:4: symbol[1].headers: only with a url source"},
      {qqq + "url = \"https://x.invalid/q\"\nheaders = { Authorization = \"env:MISSING\" }\n",
       "t.toml:4: symbol[1].headers: Authorization: environment variable MISSING is not set"},
      {qqq + "url = \"https://x.invalid/q\"\nheaders = { X = \"env:BROKEN\" }\n",
       "t.toml:4: symbol[1].headers: X: a header value cannot hold a line break or a NUL"},
      {qqq + "url = \"https://x.invalid/q\"\nheaders = { \"Bad Name\" = \"v\" }\n",
       "t.toml:4: symbol[1].headers: 'Bad Name' cannot be a header name"},
      {qqq + "url = \"https://x.invalid/q\"\nheaders = \"Authorization: x\"\n",
       "t.toml:4: symbol[1].headers: expected a table such as { Name = \"value\" }"},
      {qqq + file + "interval = 4\n",
       "t.toml:4: symbol[1].interval: expected a whole number of seconds from 5 to 86400"},
      {qqq + file + "interval = 60.0\n",
       "t.toml:4: symbol[1].interval: expected a whole number of seconds from 5 to 86400"},
      {qqq + file + "interval = 120\noff_hours_interval = 60\n",
       "t.toml:5: symbol[1].off_hours_interval: expected a whole number of seconds from 120 (the interval) "
       "to 86400"},
      {qqq + file + "timeout = 0\n",
       "t.toml:4: symbol[1].timeout: expected a whole number of seconds from 1 to 600"},
      {qqq + file + "intervall = 60\n",
       "t.toml:4: symbol[1].intervall: unknown key (did you mean interval?)"},
      {qqq + file + "future = \"NQ\"\n",
       "t.toml:1: symbol[1]: future NQ needs one of ratio, future_price_url or future_price_command"},
      {qqq + file + "ratio = 41.25\n",
       "t.toml:1: symbol[1]: ratio, future_price_url and future_price_command need future"},
      {qqq + file + "future = \"NQ\"\nratio = -2\n", "t.toml:5: symbol[1].ratio: expected a number above 0"},
      {qqq + file + "future = \"NQ\"\nratio = nan\n", "t.toml:5: symbol[1].ratio: expected a number above 0"},
      {qqq + file + "future = \"NQ\"\nratio = 41.25\nfuture_price_command = [\"p\"]\n",
       "t.toml:1: symbol[1]: give only one of ratio, future_price_url, future_price_command (found ratio and "
       "future_price_command)"},
      {qqq + file + "spot = 0\n", "t.toml:4: symbol[1].spot: expected a number above 0"},
      {qqq + file + "spot = 500\nspot_url = \"https://x.invalid/spot\"\n",
       "t.toml:1: symbol[1]: give only one of spot, spot_url, spot_command (found spot and spot_url)"},
      {qqq + file + "rate = 4.5\n",
       "t.toml:4: symbol[1].rate: expected a decimal from -1 to 1 (0.045 is 4.5 %)"},
      // Between symbols.
      {qqq + file + "[[symbol]]\nname = \"qqq\"\n" + file,
       "t.toml:5: symbol[2].name: QQQ is already served by symbol[1]"},
      {qqq + file + "future = \"NQ\"\nratio = 41\n[[symbol]]\nname = \"NDX\"\nfuture = \"nq\"\nratio = 1\n" +
           file,
       "t.toml:8: symbol[2].future: NQ is already served by symbol[1]"},
      // Two problems, two lines.
      {"retention_days = \"30\"\n" + qqq + file + "interval = 1\n",
       "t.toml:1: retention_days: expected a whole number of days from 1 to 3650\n"
       "t.toml:5: symbol[1].interval: expected a whole number of seconds from 5 to 86400"},
      // TOML syntax.
      {"listen = \"127.0.0.1:8077\n",
       "t.toml:1:25: Error while parsing string: unescaped control characters other than TAB (U+0009) are "
       "explicitly prohibited"},
      {"a = 1\na = 2\n",
       "t.toml:2:5: Error while parsing key-value pair: cannot redefine existing integer 'a'"},
  };
  for (const Case& c : cases) {
    LiveConfig config;
    config.retentionDays = -7;
    std::string error;
    EXPECT_FALSE(Parse(c.text, &config, &error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
    EXPECT_EQ(config.retentionDays, -7) << c.text << ": the output is left alone";
  }
}

TEST(LiveConfig, ReadsAFileAndTakesPathsFromItsFolder) {
  const std::string dir =
      (std::filesystem::path(testing::TempDir()) / ("live_config_" + std::to_string(getpid())))
          .lexically_normal()
          .string();
  std::filesystem::create_directories(dir + "/conf");
  const std::string path = dir + "/conf/service.toml";
  std::ofstream(path)
      << "store = \"../history.sqlite\"\n[[symbol]]\nname = \"QQQ\"\nfile = \"chains/qqq.json\"\n";
  LiveConfig c;
  std::string error;
  ASSERT_TRUE(ReadLiveConfig(path, TestEnvironment, &c, &error)) << error;
  EXPECT_EQ(c.configDir, dir + "/conf");
  EXPECT_EQ(c.storePath, dir + "/history.sqlite");
  ASSERT_EQ(c.symbols.size(), 1u);
  EXPECT_EQ(c.symbols[0].chain.path, dir + "/conf/chains/qqq.json");

  std::ofstream(path) << std::string(kMaxConfigBytes + 1, '#');
  EXPECT_FALSE(ReadLiveConfig(path, TestEnvironment, &c, &error));
  EXPECT_EQ(error, "cannot read the configuration " + path + ": larger than 1 MiB");
  EXPECT_FALSE(ReadLiveConfig(dir + "/missing.toml", TestEnvironment, &c, &error));
  EXPECT_EQ(error, "cannot read the configuration " + dir + "/missing.toml: No such file or directory");
}

TEST(LiveConfig, TheSampleConfigurationReadsAndItsChainExists) {
  const std::string path = std::string(ORDINEL_DATA) + "/live-service.toml";
  LiveConfig c;
  std::string error;
  ASSERT_TRUE(ReadLiveConfig(path, TestEnvironment, &c, &error)) << error;
  ASSERT_FALSE(c.symbols.empty());
  EXPECT_EQ(c.symbols[0].name, "QQQ");
  ASSERT_EQ(c.symbols[0].chain.kind, ChainSource::Kind::kFile);
  EXPECT_TRUE(std::filesystem::exists(c.symbols[0].chain.path)) << c.symbols[0].chain.path;
}

}  // namespace
}  // namespace live
