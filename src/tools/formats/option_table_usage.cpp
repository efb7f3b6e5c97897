// The usage text of a command, written from its option table.
#include <algorithm>

#include "formats/option_table.h"

namespace formats {
namespace {

// A synopsis listing every option stays on one line up to this width, else says [OPTIONS].
constexpr size_t kSynopsisWidth = 80;
// An entry wider than this puts its help on the next line instead of widening the help column.
constexpr size_t kWidestEntry = 24;

struct Entry {
  std::string left;  // "  --port N"
  std::string help;
};

std::string Spelled(const OptionRow& row) {
  return row.valueName.empty() ? row.name : row.name + " " + row.valueName;
}

std::string Synopsis(const OptionTable& table) {
  std::string line = "usage: " + table.command;
  for (const PositionalRow& positional : table.positionals) line += " " + positional.valueName;
  std::string options;
  for (const OptionRow& row : table.options)
    options += " [" + Spelled(row) + (row.repeatable ? " ...]" : "]");
  if (options.empty() || line.size() + options.size() <= kSynopsisWidth) return line + options + "\n";
  return line + " [OPTIONS]\n";
}

std::vector<Entry> Entries(const OptionTable& table) {
  std::vector<Entry> entries;
  for (const PositionalRow& positional : table.positionals)
    entries.push_back({"  " + positional.valueName, positional.help});
  for (const OptionRow& row : table.options) entries.push_back({"  " + Spelled(row), row.help});
  entries.push_back({"  -h, --help", "print this text"});
  return entries;
}

// Writes `entry` with its help starting at `column` and each further help line under it.
void Write(const Entry& entry, size_t column, std::string* out) {
  std::string lead = entry.left;
  if (entry.help.empty() || lead.size() + 2 > column) {
    *out += lead + "\n";
    lead.clear();
  }
  size_t start = 0;
  while (start < entry.help.size()) {
    const size_t end = std::min(entry.help.find('\n', start), entry.help.size());
    *out += lead + std::string(column - lead.size(), ' ') + entry.help.substr(start, end - start) + "\n";
    lead.clear();
    start = end + 1;
  }
}

}  // namespace

std::string UsageText(const OptionTable& table) {
  const std::vector<Entry> entries = Entries(table);
  size_t column = 0;
  for (const Entry& entry : entries) {
    if (entry.left.size() <= kWidestEntry) column = std::max(column, entry.left.size() + 2);
  }
  std::string out = Synopsis(table) + table.summary;
  for (const Entry& entry : entries) Write(entry, column, &out);
  return out + table.epilogue;
}

}  // namespace formats
