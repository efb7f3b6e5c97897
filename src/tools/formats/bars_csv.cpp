#include "formats/bars_csv.h"

#include <cmath>

#include "formats/csv_records.h"
#include "formats/typed_time.h"
#include "platform/own_services.h"
#include "text/ascii.h"
#include "text/bounded_text.h"
#include "text/fail.h"
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

// What a price field is: a decimal number (an optional sign, digits with an optional fraction),
// one with an exponent after it, or neither. No hexadecimal, "inf" or "nan", which the C
// library's reader would take as well.
enum class PriceForm { kDecimal, kExponent, kNeither };

PriceForm FormOf(std::string_view s) {
  size_t i = (!s.empty() && (s[0] == '+' || s[0] == '-')) ? 1 : 0;
  size_t digits = 0;
  for (; i < s.size() && IsDigit(s[i]); ++i) ++digits;
  if (i < s.size() && s[i] == '.') {
    for (++i; i < s.size() && IsDigit(s[i]); ++i) ++digits;
  }
  if (digits == 0) return PriceForm::kNeither;
  if (i == s.size()) return PriceForm::kDecimal;
  if (s[i] != 'e' && s[i] != 'E') return PriceForm::kNeither;
  ++i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  const size_t exponentStart = i;
  while (i < s.size() && IsDigit(s[i])) ++i;
  return i > exponentStart && i == s.size() ? PriceForm::kExponent : PriceForm::kNeither;
}

// A field as a message quotes it: short, and without control characters that would reach the
// terminal.
std::string Shown(std::string_view field) {
  std::string shown = text::BoundedText(field, 40);
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20 || c == '\x7f') c = '?';
  }
  return shown;
}

// Reads column `name` of one row into `*out`; false with `*error` naming the line, the column
// and what was wrong.
bool ReadPrice(std::string_view field, BarRules rules, const char* name, size_t line, double* out,
               std::string* error) {
  const PriceForm form = FormOf(field);
  const bool taken = form == PriceForm::kDecimal || (form == PriceForm::kExponent && rules == BarRules::kScenario);
  if (taken && text::ParseDouble(field, out) == field.size() && std::isfinite(*out)) return true;
  if (field.empty()) return text::Fail(error, text::Format("line %zu: %s is empty", line, name));
  const char* why = form == PriceForm::kExponent && rules == BarRules::kChart ? " (an exponent is not allowed)" : "";
  *error = text::Format("line %zu: %s is not a decimal number%s: %s", line, name, why, Shown(field));
  return false;
}

// A chart's bar spans its prices: low <= open, close <= high. False with `*error` naming the
// line and the prices as the file wrote them.
bool CheckSpan(const Bar& bar, const std::string* fields[4], size_t line, std::string* error) {
  const auto fail = [&](int k, const char* relation, int bound) {
    *error = text::Format("line %zu: %s %s is %s %s %s", line, kColumnNames[k], *fields[k], relation,
                          kColumnNames[bound], *fields[bound]);
    return false;
  };
  if (bar.high < bar.low) return fail(1, "below", 2);
  if (bar.open < bar.low) return fail(0, "below", 2);
  if (bar.open > bar.high) return fail(0, "above", 1);
  if (bar.close < bar.low) return fail(3, "below", 2);
  if (bar.close > bar.high) return fail(3, "above", 1);
  return true;
}

// The bar of one row; false with `*error` naming the line.
bool ReadBar(const std::vector<std::string>& fields, const size_t columns[4], BarRules rules, size_t line,
             Bar* bar, std::string* error) {
  double* values[4] = {&bar->open, &bar->high, &bar->low, &bar->close};
  const std::string* texts[4] = {};
  for (int k = 0; k < 4; ++k) {
    if (columns[k] >= fields.size()) {
      *error = text::Format("line %zu: no %s (the row has %zu fields)", line, kColumnNames[k], fields.size());
      return false;
    }
    texts[k] = &fields[columns[k]];
    if (!ReadPrice(*texts[k], rules, kColumnNames[k], line, values[k], error)) return false;
  }
  return rules != BarRules::kChart || CheckSpan(*bar, texts, line, error);
}

}  // namespace

bool ReadBarsCsv(std::string_view csv, BarRules rules, platform::Services& zone, std::vector<Bar>* bars,
                 std::string* error) {
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
    if (!ReadBar(fields, columns, rules, reader.Line(), &bar, error)) return false;
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

bool ReadBarsCsv(std::string_view csv, BarRules rules, std::vector<Bar>* bars, std::string* error) {
  return ReadBarsCsv(csv, rules, platform::OwnServices(), bars, error);
}

}  // namespace formats
