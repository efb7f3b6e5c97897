#include "formats/bars_csv.h"

#include <cmath>

#include "formats/csv_records.h"
#include "formats/typed_time.h"
#include "platform/own_services.h"
#include "text/ascii.h"
#include "text/format.h"

namespace formats {
namespace {

constexpr const char* kColumnNames[4] = {"open", "high", "low", "close"};
constexpr const char* kTimeColumnNames[] = {"time", "datetime", "date", "timestamp"};
constexpr size_t kNoColumn = static_cast<size_t>(-1);

// The first column the header names as a time; kNoColumn when none does.
size_t TimeColumn(const std::vector<std::string>& header) {
  for (size_t i = 0; i < header.size(); ++i) {
    for (const char* name : kTimeColumnNames) {
      if (text::EqualsIgnoringAsciiCase(header[i], name)) return i;
    }
  }
  return kNoColumn;
}

// Column index of open, high, low and close (the first four besides `timeColumn` when the
// header names none of them); false when the header names only some of them.
bool ColumnsFromHeader(const std::vector<std::string>& header, size_t timeColumn, size_t columns[4]) {
  int named = 0;
  size_t unnamed = 0;
  for (int k = 0; k < 4; ++k) {
    if (unnamed == timeColumn) ++unnamed;
    columns[k] = unnamed++;
    for (size_t i = 0; i < header.size(); ++i) {
      if (text::EqualsIgnoringAsciiCase(header[i], kColumnNames[k])) {
        columns[k] = i;
        ++named;
        break;
      }
    }
  }
  return named == 0 || named == 4;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A decimal number: an optional sign, digits with an optional fraction, an optional exponent.
// No hexadecimal, "inf" or "nan", which the C library's reader would take as well.
bool IsDecimal(std::string_view s) {
  size_t i = (!s.empty() && (s[0] == '+' || s[0] == '-')) ? 1 : 0;
  size_t digits = 0;
  for (; i < s.size() && IsDigit(s[i]); ++i) ++digits;
  if (i < s.size() && s[i] == '.') {
    for (++i; i < s.size() && IsDigit(s[i]); ++i) ++digits;
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    const size_t exponentStart = i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    if (i == exponentStart) return false;
  }
  return i == s.size();
}

bool ReadPrice(std::string_view field, double* out) {
  return IsDecimal(field) && text::ParseDouble(field, out) == field.size() && std::isfinite(*out);
}

}  // namespace

bool ReadBarsCsv(std::string_view csv, platform::Services& zone, std::vector<Bar>* bars, std::string* error) {
  bars->clear();
  CsvRecords reader(csv);
  std::vector<std::string> fields;
  bool haveHeader = false;
  size_t columns[4] = {0, 1, 2, 3};
  size_t timeColumn = kNoColumn;
  for (;;) {
    const CsvStep step = reader.Next(&fields, error);
    if (step == CsvStep::kRefused) return false;
    if (step == CsvStep::kEnd) break;
    if (!haveHeader) {
      haveHeader = true;
      timeColumn = TimeColumn(fields);
      if (!ColumnsFromHeader(fields, timeColumn, columns)) {
        *error = text::Format("line %zu: the header names only some of open, high, low, close", reader.Line());
        return false;
      }
      continue;
    }
    Bar bar;
    double* values[4] = {&bar.open, &bar.high, &bar.low, &bar.close};
    for (int k = 0; k < 4; ++k) {
      if (columns[k] >= fields.size() || !ReadPrice(fields[columns[k]], values[k])) {
        *error = text::Format("line %zu: %s is not a decimal number", reader.Line(), kColumnNames[k]);
        return false;
      }
    }
    if (timeColumn != kNoColumn) {
      if (timeColumn >= fields.size() || !ParseTypedTime(fields[timeColumn], zone, &bar.time)) {
        *error = text::Format("line %zu: the time is neither an ISO 8601 date-time nor seconds since 1970",
                              reader.Line());
        return false;
      }
      if (!bars->empty() && !(bar.time > bars->back().time)) {
        *error = text::Format("line %zu: the time is not later than the bar before", reader.Line());
        return false;
      }
    }
    bars->push_back(bar);
  }
  if (!haveHeader) {
    *error = "no header row";
    return false;
  }
  return true;
}

bool ReadBarsCsv(std::string_view csv, std::vector<Bar>* bars, std::string* error) {
  return ReadBarsCsv(csv, platform::OwnServices(), bars, error);
}

}  // namespace formats
