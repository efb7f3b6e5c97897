#include "formats/csv_records.h"

#include "text/ascii.h"
#include "text/fail.h"
#include "text/format.h"

namespace formats {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// The field at `index` of `fields`, reusing the string already there so that reading a long
// file does not allocate per field.
std::string* FieldAt(std::vector<std::string>* fields, size_t index) {
  if (index == fields->size()) fields->emplace_back();
  (*fields)[index].clear();
  return &(*fields)[index];
}

// A blank line, or one of separators only (spreadsheets end their exports with such rows).
bool IsBlankRecord(const std::vector<std::string>& fields) {
  for (const std::string& field : fields) {
    if (!field.empty()) return false;
  }
  return true;
}

// The separator of the first line that holds more than blanks and separators, counted outside
// quotes (a quoted field may span lines).
char HeaderSeparator(std::string_view csv) {
  size_t commas = 0, semicolons = 0, tabs = 0;
  bool quoted = false, content = false;
  for (char c : csv) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (IsLineEnd(c)) {
      if (content) break;
      commas = semicolons = tabs = 0;
    }
    commas += c == ',';
    semicolons += c == ';';
    tabs += c == '\t';
    content = content || !(c == ',' || c == ';' || c == '\t' || c == ' ' || IsLineEnd(c));
  }
  if (commas > 0 || (semicolons == 0 && tabs == 0)) return ',';
  return semicolons >= tabs ? ';' : '\t';
}

}  // namespace

CsvRecords::CsvRecords(std::string_view csv, CsvSeparator separator) : csv_(csv) {
  if (csv_.starts_with(kByteOrderMark)) csv_.remove_prefix(kByteOrderMark.size());
  if (separator == CsvSeparator::kFromHeader) separator_ = HeaderSeparator(csv_);
}

CsvStep CsvRecords::Next(std::vector<std::string>* fields, std::string* error) {
  while (!refused_ && !AtEnd()) {
    if (!ReadRecord(fields, error)) {
      refused_ = true;
      return CsvStep::kRefused;
    }
    if (IsBlankRecord(*fields)) continue;
    if (headerFields_ == 0) headerFields_ = fields->size();
    if (fields->size() > headerFields_) {
      refused_ = true;
      *error = text::Format("line %zu: %zu fields, more than the %zu of the header row", recordLine_,
                            fields->size(), headerFields_);
      return CsvStep::kRefused;
    }
    return CsvStep::kRecord;
  }
  return refused_ ? CsvStep::kRefused : CsvStep::kEnd;
}

bool CsvRecords::AtRecordEnd() const { return AtEnd() || IsLineEnd(csv_[pos_]); }

// Past one line end, "\r\n" counting as one.
void CsvRecords::SkipLineEnd() {
  if (csv_[pos_] == '\r' && pos_ + 1 < csv_.size() && csv_[pos_ + 1] == '\n') ++pos_;
  ++pos_;
  ++line_;
}

bool CsvRecords::ReadRecord(std::vector<std::string>* fields, std::string* error) {
  recordLine_ = line_;
  size_t count = 0;
  for (;;) {
    if (!ReadField(FieldAt(fields, count++), error)) return false;
    if (AtRecordEnd()) break;
    ++pos_;  // the separator: ReadField stops at nothing else
  }
  if (!AtEnd()) SkipLineEnd();
  fields->resize(count);
  return true;
}

bool CsvRecords::ReadField(std::string* field, std::string* error) {
  while (!AtEnd() && IsBlank(csv_[pos_])) ++pos_;
  if (!AtEnd() && csv_[pos_] == '"') return ReadQuoted(field, error);
  const size_t start = pos_;
  while (!AtRecordEnd() && csv_[pos_] != separator_) ++pos_;
  field->assign(text::TrimBlanks(csv_.substr(start, pos_ - start), separator_ == '\t' ? " " : text::kBlanks));
  return true;
}

bool CsvRecords::ReadQuoted(std::string* field, std::string* error) {
  const size_t openedOn = line_;
  ++pos_;
  for (;;) {
    const size_t stop = csv_.find_first_of("\"\r\n", pos_);
    if (stop == std::string_view::npos) {
      return text::Fail(error, text::Format("line %zu: a quoted field is never closed", openedOn));
    }
    field->append(csv_.substr(pos_, stop - pos_));
    pos_ = stop;
    if (csv_[pos_] == '"') {
      const bool doubled = pos_ + 1 < csv_.size() && csv_[pos_ + 1] == '"';
      pos_ += doubled ? 2 : 1;
      if (!doubled) break;
      field->push_back('"');
      continue;
    }
    // A line break inside quotes is part of the field, and still a line of the file.
    const size_t start = pos_;
    SkipLineEnd();
    field->append(csv_.substr(start, pos_ - start));
  }
  while (!AtEnd() && IsBlank(csv_[pos_])) ++pos_;
  if (AtRecordEnd() || csv_[pos_] == separator_) return true;
  return text::Fail(error, text::Format("line %zu: text after a closing quote", line_));
}

}  // namespace formats
