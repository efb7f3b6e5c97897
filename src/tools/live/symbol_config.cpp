#include "live/symbol_config.h"

#include <filesystem>
#include <limits>

#include "platform/posix/curl_easy.h"
#include "text/ascii.h"
#include "text/format.h"

namespace live {
namespace {

constexpr std::string_view kSymbolKeys[] = {"name",
                                            "url",
                                            "file",
                                            "command",
                                            "headers",
                                            "interval",
                                            "off_hours_interval",
                                            "timeout",
                                            "future",
                                            "ratio",
                                            "future_price_url",
                                            "future_price_command",
                                            "spot",
                                            "spot_url",
                                            "spot_command",
                                            "rate",
                                            "dividend"};

std::string WithSymbol(std::string_view text, std::string_view symbol) {
  std::string out;
  for (size_t at = 0;;) {
    const size_t found = text.find("{symbol}", at);
    out += text.substr(at, found - at);
    if (found == text.npos) return out;
    out += symbol;
    at = found + 8;
  }
}

std::vector<std::string> WithSymbol(const std::vector<std::string>& argv, std::string_view symbol) {
  std::vector<std::string> out;
  for (const std::string& a : argv) out.push_back(WithSymbol(a, symbol));
  return out;
}

bool IsHttpSourceUrl(const std::string& url) {
  if (!url.starts_with("http://") && !url.starts_with("https://")) return false;
  for (const char c : url) {
    if (static_cast<unsigned char>(c) <= ' ' || c == '\x7f') return false;
  }
  return platform::IsHttpUrl(url);
}

// A url key read and checked, {symbol} replaced.
std::optional<std::string> ReadUrl(TableReader& r, std::string_view key, std::string_view symbol) {
  std::optional<std::string> url = r.Text(key);
  if (!url) return std::nullopt;
  std::string filled = WithSymbol(*url, symbol);
  if (IsHttpSourceUrl(filled)) return filled;
  r.Problem(key, "expected an http:// or https:// URL without blanks");
  return std::nullopt;
}

// The keys of `keys` present in the table; a problem when more than one is.
std::vector<std::string_view> OneOf(TableReader& r, std::initializer_list<std::string_view> keys) {
  std::vector<std::string_view> present;
  for (const std::string_view k : keys) {
    if (r.Has(k)) present.push_back(k);
  }
  if (present.size() > 1) {
    std::string names;
    for (const std::string_view k : keys) names += (names.empty() ? "" : ", ") + std::string(k);
    r.Problem("", text::Format("give only one of %s (found %s and %s)", names, present[0], present[1]));
  }
  return present;
}

void ReadChain(TableReader& r, const std::string& configDir, SymbolConfig* s) {
  const std::vector<std::string_view> present = OneOf(r, {"url", "file", "command"});
  if (present.empty()) r.Problem("", "no chain source: give one of url, file or command");
  if (present.size() != 1) return;
  if (present[0] == "url") {
    s->chain.kind = ChainSource::Kind::kUrl;
    if (auto url = ReadUrl(r, "url", s->name)) s->chain.url = *url;
  } else if (present[0] == "file") {
    s->chain.kind = ChainSource::Kind::kFile;
    const std::optional<std::string> file = r.Text("file");
    if (file && (file->empty() || file->find('\0') != std::string::npos))
      r.Problem("file", "expected a file path");
    if (file && !file->empty()) {
      s->chain.path =
          (std::filesystem::path(configDir) / WithSymbol(*file, s->name)).lexically_normal().string();
    }
  } else {
    s->chain.kind = ChainSource::Kind::kCommand;
    if (auto argv = r.Command("command")) s->chain.command = WithSymbol(*argv, s->name);
  }
}

bool IsHeaderName(std::string_view name) {
  if (name.empty()) return false;
  for (const char c : name) {
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                    std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
    if (!ok) return false;
  }
  return true;
}

void ReadHeaders(TableReader& r, const EnvironmentLookup& env, SymbolConfig* s) {
  const toml::table* headers = r.Table("headers");
  if (headers == nullptr) return;
  if (s->chain.kind != ChainSource::Kind::kUrl) r.Problem("headers", "only with a url source");
  for (const auto& [key, node] : *headers) {
    const std::string name(key.str());
    const auto* value = node.as_string();
    std::string resolved, why;
    if (!IsHeaderName(name)) {
      r.Problem("headers", "'" + name + "' cannot be a header name");
      continue;
    }
    if (value == nullptr) {
      why = "expected a text in quotes";
    } else if (ResolveValue(value->get(), env, &resolved, &why) &&
               resolved.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
      why = "a header value cannot hold a line break or a NUL";
    }
    if (why.empty()) {
      s->headers.emplace_back(name, resolved);
    } else {
      r.Problem("headers", name + ": " + why);
    }
  }
}

void ReadSchedule(TableReader& r, SymbolConfig* s) {
  s->intervalSeconds =
      static_cast<int>(r.Whole("interval", 5, 86400, "a whole number of seconds from 5 to 86400")
                           .value_or(s->intervalSeconds));
  const int offHoursDefault = std::max(900, s->intervalSeconds);
  s->offHoursIntervalSeconds = static_cast<int>(
      r.Whole("off_hours_interval", s->intervalSeconds, 86400,
              text::Format("a whole number of seconds from %d (the interval) to 86400", s->intervalSeconds))
          .value_or(offHoursDefault));
  s->timeoutSeconds = static_cast<int>(
      r.Whole("timeout", 1, 600, "a whole number of seconds from 1 to 600").value_or(s->timeoutSeconds));
}

// `number`, `url` or `command` of one value into `*out`; true when one was given.
bool ReadValueSource(TableReader& r, std::string_view number, std::string_view url, std::string_view command,
                     const std::string& symbol, ValueSource* out) {
  const std::vector<std::string_view> present = OneOf(r, {number, url, command});
  if (present.size() != 1) return !present.empty();
  if (present[0] == number) {
    out->kind = ValueSource::Kind::kNumber;
    out->number =
        r.Number(number, 0, false, std::numeric_limits<double>::max(), "a number above 0").value_or(0);
  } else if (present[0] == url) {
    out->kind = ValueSource::Kind::kUrl;
    out->url = ReadUrl(r, url, symbol).value_or("");
  } else {
    out->kind = ValueSource::Kind::kCommand;
    out->command = WithSymbol(r.Command(command).value_or(std::vector<std::string>{}), symbol);
  }
  return true;
}

void ReadMapping(TableReader& r, SymbolConfig* s) {
  constexpr const char* kSymbolExpected = "expected a symbol of 1 to 16 letters, digits, '.', '-' or '_'";
  if (const std::optional<std::string> future = r.Text("future")) {
    s->future = text::AsciiUpper(*future);
    if (!IsSymbolName(s->future)) r.Problem("future", kSymbolExpected);
  }
  // The fixed ratio and the futures price share one choice: one of the three keys.
  ValueSource* target = r.Has("ratio") ? &s->futureRatio : &s->futurePrice;
  const bool mapped =
      ReadValueSource(r, "ratio", "future_price_url", "future_price_command", s->name, target);
  if (!s->future.empty() && !mapped) {
    r.Problem("", "future " + s->future + " needs one of ratio, future_price_url or future_price_command");
  }
  if (!r.Has("future") && mapped)
    r.Problem("", "ratio, future_price_url and future_price_command need future");
  ReadValueSource(r, "spot", "spot_url", "spot_command", s->name, &s->spot);
  constexpr const char* kYield = "a decimal from -1 to 1 (0.045 is 4.5 %)";
  s->rate = r.Number("rate", -1, true, 1, kYield);
  s->dividend = r.Number("dividend", -1, true, 1, kYield);
}

}  // namespace

bool IsSymbolName(std::string_view name) {
  if (name.empty() || name.size() > 16) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    const bool alnum = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!alnum && (i == 0 || (c != '.' && c != '-' && c != '_'))) return false;
  }
  return true;
}

void ReadSymbol(TableReader& reader, const std::string& configDir, const EnvironmentLookup& env,
                SymbolConfig* out) {
  SymbolConfig s;
  reader.RefuseUnknown(kSymbolKeys);
  if (const std::optional<std::string> name = reader.Text("name")) {
    s.name = text::AsciiUpper(*name);
    if (!IsSymbolName(s.name))
      reader.Problem("name", "expected a symbol of 1 to 16 letters, digits, '.', '-' or '_'");
  } else if (!reader.Has("name")) {
    reader.Problem("", "no name: give the chain's underlying, such as name = \"QQQ\"");
  }
  ReadChain(reader, configDir, &s);
  ReadHeaders(reader, env, &s);
  ReadSchedule(reader, &s);
  ReadMapping(reader, &s);
  *out = std::move(s);
}

}  // namespace live
