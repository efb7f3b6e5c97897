#include "live/config_fields.h"

#include <algorithm>
#include <cmath>

#include "formats/near_names.h"
#include "text/fail.h"
#include "text/format.h"

namespace live {
namespace {

bool IsVariableName(std::string_view name) {
  if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
  for (const char c : name) {
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    if (!ok) return false;
  }
  return true;
}

}  // namespace

bool ResolveValue(std::string_view value, const EnvironmentLookup& env, std::string* out,
                  std::string* error) {
  if (!value.starts_with("env:")) {
    *out = std::string(value);
    return true;
  }
  const std::string name(value.substr(4));
  if (!IsVariableName(name))
    return text::Fail(error, "'" + name + "' after env: is not an environment variable name");
  const std::optional<std::string> found = env(name);
  if (!found) return text::Fail(error, "environment variable " + name + " is not set");
  *out = *found;
  return true;
}

void Problems::Add(const toml::source_region& where, std::string_view path, std::string_view message) {
  std::string line = name_;
  if (where.begin) line += text::Format(":%d", static_cast<long long>(where.begin.line));
  line += ": ";
  if (!path.empty()) line += std::string(path) + ": ";
  lines_.push_back(line + std::string(message));
}

std::string Problems::Text() const {
  std::string out;
  for (const std::string& line : lines_) out += (out.empty() ? "" : "\n") + line;
  return out;
}

std::string NearestKey(std::string_view key, std::span<const std::string_view> known) {
  const std::vector<std::string> names(known.begin(), known.end());
  const std::vector<std::string> nearest = formats::NearestNames(key, names, 1);
  return nearest.empty() ? std::string() : nearest.front();
}

std::string TableReader::PathOf(std::string_view key) const {
  if (key.empty()) return path_;
  return path_.empty() ? std::string(key) : path_ + "." + std::string(key);
}

void TableReader::Problem(std::string_view key, std::string_view message) {
  const toml::node* node = key.empty() ? nullptr : table_.get(key);
  problems_->Add(node != nullptr ? node->source() : table_.source(), PathOf(key), message);
}

std::optional<std::string> TableReader::Text(std::string_view key) {
  const toml::node* node = table_.get(key);
  if (node == nullptr) return std::nullopt;
  if (const auto* s = node->as_string()) return s->get();
  Problem(key, "expected a text in quotes");
  return std::nullopt;
}

std::optional<int64_t> TableReader::Whole(std::string_view key, int64_t low, int64_t high,
                                          std::string_view expected) {
  const toml::node* node = table_.get(key);
  if (node == nullptr) return std::nullopt;
  const auto* i = node->as_integer();
  if (i != nullptr && i->get() >= low && i->get() <= high) return i->get();
  Problem(key, "expected " + std::string(expected));
  return std::nullopt;
}

std::optional<double> TableReader::Number(std::string_view key, double low, bool lowIncluded, double high,
                                          std::string_view expected) {
  const toml::node* node = table_.get(key);
  if (node == nullptr) return std::nullopt;
  std::optional<double> value;
  if (const auto* i = node->as_integer()) value = static_cast<double>(i->get());
  if (const auto* f = node->as_floating_point()) value = f->get();
  if (value && std::isfinite(*value) && (*value > low || (lowIncluded && *value == low)) && *value <= high) {
    return value;
  }
  Problem(key, "expected " + std::string(expected));
  return std::nullopt;
}

std::optional<std::vector<std::string>> TableReader::Command(std::string_view key) {
  const toml::node* node = table_.get(key);
  if (node == nullptr) return std::nullopt;
  std::vector<std::string> argv;
  const toml::array* list = node->as_array();
  bool ok = list != nullptr && !list->empty();
  for (size_t i = 0; ok && i < list->size(); ++i) {
    const auto* s = list->get(i)->as_string();
    ok = s != nullptr && s->get().find('\0') == std::string::npos && (i > 0 || !s->get().empty());
    if (ok) argv.push_back(s->get());
  }
  if (ok) return argv;
  Problem(key, "expected a list of texts, a program and its arguments, such as [\"prog\", \"arg\"]");
  return std::nullopt;
}

const toml::table* TableReader::Table(std::string_view key) {
  const toml::node* node = table_.get(key);
  if (node == nullptr) return nullptr;
  if (const auto* t = node->as_table()) return t;
  Problem(key, "expected a table such as { Name = \"value\" }");
  return nullptr;
}

void TableReader::RefuseUnknown(std::span<const std::string_view> known) {
  for (const auto& [key, node] : table_) {
    if (std::find(known.begin(), known.end(), key.str()) != known.end()) continue;
    const std::string nearest = NearestKey(key.str(), known);
    problems_->Add(key.source(), PathOf(key.str()),
                   nearest.empty() ? "unknown key" : "unknown key (did you mean " + nearest + "?)");
  }
}

}  // namespace live
