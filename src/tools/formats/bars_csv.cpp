#include "formats/bars_csv.h"

#include <cmath>

#include "text/fail.h"
#include "formats/typed_time.h"
#include "platform/own_services.h"
#include "text/format.h"

namespace formats {
namespace {

constexpr const char* kColumnNames[4] = {"open", "high", "low", "close"};
constexpr const char* kTimeColumnNames[] = {"time", "datetime", "date", "timestamp"};
constexpr size_t kNoColumn = static_cast<size_t>(-1);
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// One record of the text as RFC 4180 reads it: fields split at commas outside quotes, a quoted
// field holding commas, line breaks and doubled quotes; blanks around a field dropped.
class RecordReader {
 public:
  explicit RecordReader(std::string_view csv) : csv_(csv) {
    if (csv_.starts_with(kByteOrderMark)) csv_.remove_prefix(kByteOrderMark.size());
  }

  bool AtEnd() const { return pos_ >= csv_.size(); }
  // The line the last record started on, from 1.
  size_t Line() const { return recordLine_; }

  // Reads the next record into `fields`; false with `*error` for a quote left open or text
  // after a closing quote.
  bool Next(std::vector<std::string>* fields, std::string* error) {
    fields->clear();
    recordLine_ = line_;
    for (;;) {
      std::string field;
      if (!ReadField(&field, error)) return false;
      fields->push_back(std::move(field));
      if (AtEnd()) return true;
      const char end = csv_[pos_++];
      if (end == '\n') {
        ++line_;
        return true;
      }
      // Anything else here is the comma that ends a field.
    }
  }

 private:
  bool ReadField(std::string* field, std::string* error) {
    while (!AtEnd() && IsBlank(csv_[pos_])) ++pos_;
    if (!AtEnd() && csv_[pos_] == '"') return ReadQuoted(field, error);
    const size_t start = pos_;
    while (!AtEnd() && csv_[pos_] != ',' && csv_[pos_] != '\n') ++pos_;
    std::string_view text = csv_.substr(start, pos_ - start);
    if (text.ends_with('\r')) text.remove_suffix(1);
    *field = std::string(TrimBlanks(text));
    return true;
  }

  bool ReadQuoted(std::string* field, std::string* error) {
    const size_t openedOn = line_;
    ++pos_;
    for (;;) {
      if (AtEnd()) return text::Fail(error, text::Format("line %zu: a quoted field is never closed", openedOn));
      const char c = csv_[pos_++];
      if (c == '"' && !AtEnd() && csv_[pos_] == '"') {
        field->push_back('"');
        ++pos_;
      } else if (c == '"') {
        break;
      } else {
        if (c == '\n') ++line_;
        field->push_back(c);
      }
    }
    while (!AtEnd() && (IsBlank(csv_[pos_]) || csv_[pos_] == '\r')) ++pos_;
    if (AtEnd() || csv_[pos_] == ',' || csv_[pos_] == '\n') return true;
    return text::Fail(error, text::Format("line %zu: text after a closing quote", line_));
  }

  std::string_view csv_;
  size_t pos_ = 0;
  size_t line_ = 1;
  size_t recordLine_ = 1;
};

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const char c = (a[i] >= 'A' && a[i] <= 'Z') ? char(a[i] - 'A' + 'a') : a[i];
    if (c != b[i]) return false;
  }
  return true;
}

// The first column the header names as a time; kNoColumn when none does.
size_t TimeColumn(const std::vector<std::string>& header) {
  for (size_t i = 0; i < header.size(); ++i) {
    for (const char* name : kTimeColumnNames) {
      if (SameLetters(header[i], name)) return i;
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
      if (SameLetters(header[i], kColumnNames[k])) {
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

bool IsBlankRecord(const std::vector<std::string>& fields) { return fields.size() == 1 && fields[0].empty(); }

}  // namespace

bool ReadBarsCsv(std::string_view csv, platform::Services& zone, std::vector<Bar>* bars, std::string* error) {
  bars->clear();
  RecordReader reader(csv);
  std::vector<std::string> fields;
  bool haveHeader = false;
  size_t columns[4] = {0, 1, 2, 3};
  size_t timeColumn = kNoColumn;
  while (!reader.AtEnd()) {
    if (!reader.Next(&fields, error)) return false;
    if (IsBlankRecord(fields)) continue;
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
