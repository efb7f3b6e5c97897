#include "formats/bars_columns.h"

#include "text/ascii.h"
#include "text/format.h"

namespace formats {
namespace {

constexpr const char* kTimeColumnNames[] = {"time", "datetime", "date", "timestamp"};

// The first column named `name`; kNoColumn when none is.
size_t Named(const std::vector<std::string>& header, const char* name) {
  for (size_t i = 0; i < header.size(); ++i) {
    if (text::EqualsIgnoringAsciiCase(header[i], name)) return i;
  }
  return kNoColumn;
}

void FindTimeColumns(const std::vector<std::string>& header, BarRules rules, BarColumns* columns) {
  const size_t date = Named(header, "date");
  const size_t clock = Named(header, "time");
  if (rules == BarRules::kChart && date != kNoColumn && clock != kNoColumn) {
    columns->time = date;
    columns->clock = clock;
    columns->clockName = header[clock];
  } else {
    for (size_t i = 0; i < header.size() && columns->time == kNoColumn; ++i) {
      for (const char* name : kTimeColumnNames) {
        if (text::EqualsIgnoringAsciiCase(header[i], name)) columns->time = i;
      }
    }
  }
  if (columns->time != kNoColumn) columns->timeName = header[columns->time];
}

// "open, high and low" of the names whose `wanted` flag is set.
std::string NameList(const bool wanted[4]) {
  std::string list;
  int left = 0;
  for (int k = 0; k < 4; ++k) left += wanted[k] ? 1 : 0;
  for (int k = 0; k < 4; ++k) {
    if (!wanted[k]) continue;
    --left;
    list += kPriceNames[k];
    list += left > 1 ? ", " : left == 1 ? " and " : "";
  }
  return list;
}

}  // namespace

bool BarColumnsFromHeader(const std::vector<std::string>& header, BarRules rules, size_t line,
                          BarColumns* columns, std::string* error) {
  *columns = BarColumns{};
  FindTimeColumns(header, rules, columns);
  bool named[4] = {};
  bool missing[4] = {};
  int count = 0;
  for (int k = 0; k < 4; ++k) {
    const size_t column = Named(header, kPriceNames[k]);
    named[k] = column != kNoColumn;
    count += named[k] ? 1 : 0;
    if (named[k]) columns->prices[k] = column;
  }
  const size_t last = Named(header, "last");
  if (count == 3 && !named[3] && last != kNoColumn) {
    columns->prices[3] = last;
    return true;
  }
  if (count == 4) return true;
  if (count > 0) {
    for (int k = 0; k < 4; ++k) missing[k] = !named[k];
    *error = text::Format(
        "line %zu: the header names %s but not %s: expected columns open, high, low and close "
        "(or last)",
        line, NameList(named), NameList(missing));
    return false;
  }
  size_t next = 0;
  for (size_t& price : columns->prices) {
    while (next == columns->time || next == columns->clock) ++next;
    price = next++;
  }
  return true;
}

}  // namespace formats
