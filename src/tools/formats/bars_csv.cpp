#include "formats/bars_csv.h"

#include <cmath>

#include "formats/bars_columns.h"
#include "formats/csv_records.h"
#include "formats/typed_time.h"
#include "platform/own_services.h"
#include "text/bounded_text.h"
#include "text/fail.h"
#include "text/format.h"

namespace formats {
namespace {

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

// How a file's prices write their fraction: always with a point, except in a file separated by
// semicolons, where the first price written with a point or a comma sets the mark for all.
struct DecimalMark {
  bool commaAllowed = false;
  char mark = 0;     // 0 until a price with a fraction sets it
  size_t setOn = 0;  // the line that set it
};

const char* MarkName(char mark) { return mark == ',' ? "a decimal comma" : "a decimal point"; }

// `field` with its decimal mark checked against the file's and turned into a point; false with
// `*why` saying what was wrong.
bool WithDecimalPoint(std::string_view field, size_t line, DecimalMark* decimal, std::string* point,
                      std::string* why) {
  const bool comma = field.find(',') != std::string_view::npos;
  const bool dot = field.find('.') != std::string_view::npos;
  point->assign(field);
  if (!comma && !dot) return true;
  if (comma && dot) return text::Fail(why, " (a thousands separator is not allowed)");
  if (comma && !decimal->commaAllowed) {
    return text::Fail(why, " (a decimal comma is read only in a file separated by semicolons)");
  }
  const char mark = comma ? ',' : '.';
  if (decimal->mark == 0) *decimal = {decimal->commaAllowed, mark, line};
  if (mark != decimal->mark) {
    *why = text::Format(" (it has %s where line %zu has %s; a thousands separator is not allowed)",
                        MarkName(mark), decimal->setOn, MarkName(decimal->mark));
    return false;
  }
  if (comma) (*point)[field.find(',')] = '.';
  return true;
}

// Reads the price `name` of one row into `*out`; false with `*error` naming the line, the column
// and what was wrong.
bool ReadPrice(std::string_view field, BarRules rules, const char* name, size_t line, DecimalMark* decimal,
               double* out, std::string* error) {
  if (field.empty()) return text::Fail(error, text::Format("line %zu: %s is empty", line, name));
  std::string number, why;
  if (WithDecimalPoint(field, line, decimal, &number, &why)) {
    const PriceForm form = FormOf(number);
    const bool taken =
        form == PriceForm::kDecimal || (form == PriceForm::kExponent && rules == BarRules::kScenario);
    if (taken && text::ParseDouble(number, out) == number.size() && std::isfinite(*out)) return true;
    if (form == PriceForm::kExponent && rules == BarRules::kChart) why = " (an exponent is not allowed)";
  }
  *error = text::Format("line %zu: %s is not a decimal number%s: %s", line, name, why, Shown(field));
  return false;
}

// A chart's bar spans its prices: low <= open, close <= high. False with `*error` naming the
// line and the prices as the file wrote them.
bool CheckSpan(const Bar& bar, const std::string* fields[4], size_t line, std::string* error) {
  const auto fail = [&](int k, const char* relation, int bound) {
    *error = text::Format("line %zu: %s %s is %s %s %s", line, kPriceNames[k], *fields[k], relation,
                          kPriceNames[bound], *fields[bound]);
    return false;
  };
  if (bar.high < bar.low) return fail(1, "below", 2);
  if (bar.open < bar.low) return fail(0, "below", 2);
  if (bar.open > bar.high) return fail(0, "above", 1);
  if (bar.close < bar.low) return fail(3, "below", 2);
  if (bar.close > bar.high) return fail(3, "above", 1);
  return true;
}

const char* kTimeForms =
    "expected a date and time such as 2025-01-02 09:30, 01/02/2025 09:30 or 2025-01-02T14:30:00Z, or seconds "
    "since 1970";

// One reading of a bars file: its header's columns, then a bar per row.
class BarsReading {
 public:
  BarsReading(std::string_view csv, BarRules rules, platform::Services& zone)
      : csv_(csv), rules_(rules), zone_(zone), records_(csv, CsvSeparator::kFromHeader) {
    decimal_.commaAllowed = records_.Separator() == ';';
  }

  bool Run(std::vector<Bar>* bars, std::string* error);

 private:
  bool ReadBar(const std::vector<std::string>& fields, Bar* bar, std::string* error);
  bool ReadTime(const std::vector<std::string>& fields, double* time, std::string* error);
  bool DecideSlashDates(std::string* error);
  bool NotLater(const std::vector<std::string>& fields, size_t previousLine, std::string* error) const;
  bool Missing(size_t column, const std::string& name, size_t count, std::string* error) const;

  std::string_view csv_;
  BarRules rules_;
  platform::Services& zone_;
  CsvRecords records_;
  BarColumns columns_;
  DecimalMark decimal_;
  bool slashDatesDecided_ = false;
  SlashDateOrder slashDates_ = SlashDateOrder::kFromDate;
};

bool BarsReading::Missing(size_t column, const std::string& name, size_t count, std::string* error) const {
  if (column < count) return false;
  *error = text::Format("line %zu: no %s (the row has %zu fields)", records_.Line(), name, count);
  return true;
}

bool BarsReading::ReadBar(const std::vector<std::string>& fields, Bar* bar, std::string* error) {
  double* values[4] = {&bar->open, &bar->high, &bar->low, &bar->close};
  const std::string* texts[4] = {};
  for (int k = 0; k < 4; ++k) {
    if (Missing(columns_.prices[k], kPriceNames[k], fields.size(), error)) return false;
    texts[k] = &fields[columns_.prices[k]];
    if (!ReadPrice(*texts[k], rules_, kPriceNames[k], records_.Line(), &decimal_, values[k], error))
      return false;
  }
  return rules_ != BarRules::kChart || CheckSpan(*bar, texts, records_.Line(), error);
}

// The order of the file's slash dates, from every date in the time column: a second pass over
// the text that stops where the CSV reader would refuse it (the reading pass reports that).
bool BarsReading::DecideSlashDates(std::string* error) {
  slashDatesDecided_ = true;
  CsvRecords records(csv_, CsvSeparator::kFromHeader);
  SlashDateEvidence evidence;
  std::vector<std::string> fields;
  std::string ignored;
  bool header = true;
  while (records.Next(&fields, &ignored) == CsvStep::kRecord) {
    if (!header && columns_.time < fields.size()) evidence.Note(fields[columns_.time], records.Line());
    header = false;
  }
  return evidence.Decide(columns_.timeName, &slashDates_, error);
}

bool BarsReading::ReadTime(const std::vector<std::string>& fields, double* time, std::string* error) {
  const size_t line = records_.Line();
  if (Missing(columns_.time, columns_.timeName, fields.size(), error)) return false;
  const std::string& date = fields[columns_.time];
  if (!slashDatesDecided_ && date.find('/') != std::string::npos && !DecideSlashDates(error)) return false;
  if (columns_.clock == kNoColumn) {
    if (ParseTypedTime(date, slashDates_, zone_, time)) return true;
    *error = text::Format("line %zu: %s %s is not a time: %s", line, Shown(columns_.timeName), Shown(date),
                          kTimeForms);
    return false;
  }
  if (Missing(columns_.clock, columns_.clockName, fields.size(), error)) return false;
  if (!IsTypedDate(date, slashDates_)) {
    *error =
        text::Format("line %zu: %s %s is not a date: expected YYYY-MM-DD or MM/DD/YYYY beside the %s column",
                     line, Shown(columns_.timeName), Shown(date), Shown(columns_.clockName));
    return false;
  }
  const std::string& clock = fields[columns_.clock];
  if (ParseTypedDateAndClock(date, clock, slashDates_, zone_, time)) return true;
  *error = text::Format(
      "line %zu: %s %s is not a time of day: expected hh:mm or hh:mm:ss (24-hour), an offset "
      "such as -05:00 allowed",
      line, Shown(columns_.clockName), Shown(clock));
  return false;
}

// False with `*error` saying that the row's time, as the file writes it, does not follow the
// bar before.
bool BarsReading::NotLater(const std::vector<std::string>& fields, size_t previousLine,
                           std::string* error) const {
  std::string name = columns_.timeName, written = fields[columns_.time];
  if (columns_.clock != kNoColumn) {
    name += " and " + columns_.clockName;
    written += " " + fields[columns_.clock];
  }
  *error =
      text::Format("line %zu: %s %s is not later than the bar before (line %zu): expected bars in time order",
                   records_.Line(), Shown(name), Shown(written), previousLine);
  return false;
}

bool BarsReading::Run(std::vector<Bar>* bars, std::string* error) {
  bars->clear();
  std::vector<std::string> fields;
  bool haveHeader = false;
  size_t previousLine = 0;
  for (;;) {
    const CsvStep step = records_.Next(&fields, error);
    if (step == CsvStep::kRefused) return false;
    if (step == CsvStep::kEnd) break;
    if (!haveHeader) {
      haveHeader = true;
      if (!BarColumnsFromHeader(fields, rules_, records_.Line(), &columns_, error)) return false;
      continue;
    }
    Bar bar;
    if (!ReadBar(fields, &bar, error)) return false;
    if (columns_.time != kNoColumn) {
      if (!ReadTime(fields, &bar.time, error)) return false;
      if (!bars->empty() && !(bar.time > bars->back().time)) return NotLater(fields, previousLine, error);
    }
    previousLine = records_.Line();
    bars->push_back(bar);
  }
  if (!haveHeader) return text::Fail(error, "no header row");
  return true;
}

}  // namespace

bool ReadBarsCsv(std::string_view csv, BarRules rules, platform::Services& zone, std::vector<Bar>* bars,
                 std::string* error) {
  return BarsReading(csv, rules, zone).Run(bars, error);
}

bool ReadBarsCsv(std::string_view csv, BarRules rules, std::vector<Bar>* bars, std::string* error) {
  return ReadBarsCsv(csv, rules, platform::OwnServices(), bars, error);
}

}  // namespace formats
