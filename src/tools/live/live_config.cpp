#include "live/live_config.h"

#include <cstdlib>
#include <filesystem>
#include <map>

#include "formats/file_io.h"
#include "live/config_fields.h"
#include "live/listen_address.h"
#include "live/symbol_config.h"
#include "text/fail.h"
#include "text/format.h"

namespace live {
namespace {

constexpr std::string_view kTopKeys[] = {"listen", "token", "store", "retention_days", "symbol"};
constexpr const char* kDefaultStore = "ordinel-levels.sqlite";

// Characters a URL path segment carries as they are, so the token needs no escaping.
bool IsTokenText(std::string_view token) {
  if (token.size() < 16 || token.size() > 128) return false;
  for (const char c : token) {
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                    c == '.' || c == '_' || c == '~';
    if (!ok) return false;
  }
  return true;
}

void ReadListen(TableReader& top, const EnvironmentLookup& env, LiveConfig* c) {
  if (const std::optional<std::string> listen = top.Text("listen")) {
    std::string why;
    if (!ParseListenAddress(*listen, &c->listen, &why)) top.Problem("listen", why);
  }
  if (const std::optional<std::string> token = top.Text("token")) {
    std::string why;
    if (!ResolveValue(*token, env, &c->token, &why)) {
      top.Problem("token", why);
    } else if (!IsTokenText(c->token)) {
      top.Problem("token", "expected 16 to 128 characters from A-Z a-z 0-9 - . _ ~ (it starts every path)");
    }
  }
  if (!IsLoopback(c->listen) && !top.Has("token")) {
    top.Problem("listen", c->listen.host +
                              " is not a loopback address: give a token, so that every "
                              "path is served under /<token>/ only");
  }
}

void ReadStore(TableReader& top, LiveConfig* c) {
  const std::string store = top.Text("store").value_or(kDefaultStore);
  if (store.empty() || store.find('\0') != std::string::npos) top.Problem("store", "expected a file path");
  c->storePath = (std::filesystem::path(c->configDir) / store).lexically_normal().string();
  c->retentionDays =
      static_cast<int>(top.Whole("retention_days", 1, 3650, "a whole number of days from 1 to 3650")
                           .value_or(c->retentionDays));
}

void ReadSymbols(const toml::table& root, const EnvironmentLookup& env, Problems* problems, LiveConfig* c) {
  const toml::node* node = root.get("symbol");
  if (node == nullptr) {
    problems->Add({}, "symbol", "no [[symbol]] table: give at least one");
    return;
  }
  const toml::array* list = node->as_array();
  if (list == nullptr || !list->is_array_of_tables()) {
    problems->Add(node->source(), "symbol", "expected [[symbol]] tables");
    return;
  }
  std::map<std::string, std::string> served;  // a name or future, and the symbol entry serving it
  for (size_t i = 0; i < list->size(); ++i) {
    TableReader reader(*list->get(i)->as_table(), text::Format("symbol[%d]", static_cast<long long>(i + 1)),
                       problems);
    SymbolConfig s;
    ReadSymbol(reader, c->configDir, env, &s);
    for (const auto& [key, name] :
         {std::pair<const char*, std::string>{"name", s.name}, {"future", s.future}}) {
      if (name.empty()) continue;
      const auto [at, fresh] = served.emplace(name, reader.PathOf(""));
      if (!fresh) reader.Problem(key, name + " is already served by " + at->second);
    }
    c->symbols.push_back(std::move(s));
  }
}

}  // namespace

std::optional<std::string> ProcessEnvironment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

bool ParseLiveConfig(std::string_view text, const std::string& name, const std::string& configDir,
                     const EnvironmentLookup& env, LiveConfig* out, std::string* error) {
  toml::table root;
  try {
    root = toml::parse(text, name);
  } catch (const toml::parse_error& e) {
    return text::Fail(error, text::Format("%s:%d:%d: %s", name, static_cast<long long>(e.source().begin.line),
                                          static_cast<long long>(e.source().begin.column), e.description()));
  }
  Problems problems(name);
  TableReader top(root, "", &problems);
  top.RefuseUnknown(kTopKeys);
  LiveConfig config;
  config.configDir = configDir;
  ReadListen(top, env, &config);
  ReadStore(top, &config);
  ReadSymbols(root, env, &problems, &config);
  if (problems.Any()) return text::Fail(error, problems.Text());
  *out = std::move(config);
  return true;
}

bool ReadLiveConfig(const std::string& path, const EnvironmentLookup& env, LiveConfig* out,
                    std::string* error) {
  std::string text, why;
  if (!formats::ReadFileWithin(path, kMaxConfigBytes, &text, &why)) {
    return text::Fail(error, "cannot read the configuration " + path + ": " + why);
  }
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec).lexically_normal();
  if (ec) return text::Fail(error, "cannot read the configuration " + path + ": " + ec.message());
  return ParseLiveConfig(text, path, absolute.parent_path().string(), env, out, error);
}

}  // namespace live
