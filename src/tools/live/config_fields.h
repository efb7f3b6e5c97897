// The checks every configuration value goes through: typed reads of one TOML table's keys,
// each problem kept as its own line with the file, the line and the key path, and keys that no
// reader knows refused with the nearest known one suggested.
#pragma once

#include <toml++/toml.h>

#include <cstdint>
#include <span>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "live/live_config.h"

namespace live {

// The problems of one configuration file, one line each.
class Problems {
 public:
  explicit Problems(std::string name) : name_(std::move(name)) {}

  // "NAME:LINE: PATH: MESSAGE", or "NAME: PATH: MESSAGE" when `where` has no position.
  void Add(const toml::source_region& where, std::string_view path, std::string_view message);
  bool Any() const { return !lines_.empty(); }
  // The lines joined by '\n'.
  std::string Text() const;

 private:
  std::string name_;
  std::vector<std::string> lines_;
};

// The known key `key` most likely misspells, by the rules every "did you mean" of the program
// follows; empty when none is near.
std::string NearestKey(std::string_view key, std::span<const std::string_view> known);

// `value` itself, or for "env:NAME" the value of environment variable NAME. False with a
// message naming the variable when it is not set or NAME is not a variable name.
bool ResolveValue(std::string_view value, const EnvironmentLookup& env, std::string* out, std::string* error);

// Reads the keys of one table. A read of a key that is absent gives nothing and no problem; a
// present value of the wrong type or out of range gives nothing and one problem, "PATH.KEY:
// expected <what>".
class TableReader {
 public:
  // `path` names the table in messages ("symbol[2]"); empty for the top level.
  TableReader(const toml::table& table, std::string path, Problems* problems)
      : table_(table), path_(std::move(path)), problems_(problems) {}

  // "symbol[2].interval", or "interval" at the top level; the table itself for an empty key.
  std::string PathOf(std::string_view key) const;
  bool Has(std::string_view key) const { return table_.contains(key); }

  std::optional<std::string> Text(std::string_view key);
  // An integer from `low` to `high`; `expected` completes "expected ..." otherwise.
  std::optional<int64_t> Whole(std::string_view key, int64_t low, int64_t high, std::string_view expected);
  // A finite integer or float above `low` (or at it, with `lowIncluded`) and at most `high`.
  std::optional<double> Number(std::string_view key, double low, bool lowIncluded, double high,
                               std::string_view expected);
  // A non-empty array of texts whose first is not empty: a program and its arguments.
  std::optional<std::vector<std::string>> Command(std::string_view key);
  // An inline or standard table.
  const toml::table* Table(std::string_view key);

  // A problem at `key`'s value (or at the table for an empty key) with `message`.
  void Problem(std::string_view key, std::string_view message);
  // Refuses every key of the table that `known` does not name.
  void RefuseUnknown(std::span<const std::string_view> known);

 private:
  const toml::table& table_;
  std::string path_;
  Problems* problems_;
};

}  // namespace live
