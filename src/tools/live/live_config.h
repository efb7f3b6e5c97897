// The live levels service's configuration: a TOML file naming where to listen, where the
// history is kept and, per symbol, where its option chain comes from and how often. Reading it
// checks everything a running service would otherwise trip over later.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace live {

inline constexpr size_t kMaxConfigBytes = size_t{1} << 20;

struct ListenAddress {
  std::string host = "127.0.0.1";  // an IPv6 address without its brackets
  int port = 8077;                 // 0: any free port
};

// Where a number comes from: the file itself, a URL answering it, or a command printing it.
struct ValueSource {
  enum class Kind { kNone, kNumber, kUrl, kCommand };
  Kind kind = Kind::kNone;
  double number = 0;
  std::string url;                   // {symbol} replaced
  std::vector<std::string> command;  // program and arguments, {symbol} replaced
};

// Where a symbol's option chain comes from.
struct ChainSource {
  enum class Kind { kUrl, kFile, kCommand };
  Kind kind = Kind::kUrl;
  std::string url;                   // {symbol} replaced
  std::string path;                  // {symbol} replaced, relative ones made absolute
  std::vector<std::string> command;  // program and arguments, {symbol} replaced
};

struct SymbolConfig {
  std::string name;  // upper case, the chain's underlying as the engine names it ("QQQ")
  ChainSource chain;
  std::vector<std::pair<std::string, std::string>> headers;  // sent with a url chain; values resolved
  int intervalSeconds = 60;                                  // between captures in New York market hours
  int offHoursIntervalSeconds = 900;                         // outside them; at least intervalSeconds
  int timeoutSeconds = 30;                                   // for one fetch
  std::string future;                    // upper case futures symbol also served ("NQ"); empty: none
  ValueSource futureRatio;               // with a future, either kNumber: the fixed ratio,
  ValueSource futurePrice;               // or kUrl / kCommand: the future's price (ratio = price / spot)
  ValueSource spot;                      // kNone: the chain's own spot
  std::optional<double> rate, dividend;  // empty: the engine's defaults
};

struct LiveConfig {
  std::string configDir;  // the configuration file's folder, absolute; commands run there
  ListenAddress listen;
  std::string token;      // empty: none; else every path is served under /<token>/
  std::string storePath;  // relative ones made absolute
  int retentionDays = 30;
  std::vector<SymbolConfig> symbols;
};

// The value of an environment variable; empty when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const std::string& name)>;

// The process environment.
std::optional<std::string> ProcessEnvironment(const std::string& name);

// Reads the configuration at `path` (at most kMaxConfigBytes), taking relative paths from its
// folder. False with `*error` holding one line per problem ("FILE:LINE: symbol[2].interval:
// expected ...", "FILE:LINE:COLUMN: ..." for TOML syntax) when the file cannot be read or any
// value is missing, unknown, of the wrong type, out of range or in conflict with another.
bool ReadLiveConfig(const std::string& path, const EnvironmentLookup& env, LiveConfig* out,
                    std::string* error);

// As ReadLiveConfig for the text of a configuration named `name` in messages, whose relative
// paths are taken from `configDir`.
bool ParseLiveConfig(std::string_view text, const std::string& name, const std::string& configDir,
                     const EnvironmentLookup& env, LiveConfig* out, std::string* error);

}  // namespace live
