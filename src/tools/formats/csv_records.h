// The records of a CSV text, read by one set of rules for every CSV file the program takes (bars,
// option chains): RFC 4180 fields, a byte-order mark, any line end, a header row that bounds the
// width of every record after it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace formats {

// What CsvRecords::Next found.
enum class CsvStep { kRecord, kEnd, kRefused };

// Which character separates the fields of a text.
enum class CsvSeparator {
  kComma,
  // What the header row uses, as spreadsheets and charting tools export: the comma when the
  // row has one outside quotes (so every comma file reads as under kComma), else the semicolon
  // or the tab, whichever it has more of (the semicolon on a tie).
  kFromHeader,
};

// Reads the records of one CSV text in order: fields split at separators outside quotes, a
// quoted field holding separators, line breaks and doubled quotes; blanks (spaces, and tabs
// unless they separate) around a field dropped; "\n", "\r\n" and a lone "\r" ending a record;
// a UTF-8 byte-order mark before the first skipped.
class CsvRecords {
 public:
  // Requires: `csv` outlives the reader.
  explicit CsvRecords(std::string_view csv, CsvSeparator separator = CsvSeparator::kComma);

  // The separator in use: ',', or ';' or '\t' as read from the header row.
  char Separator() const { return separator_; }

  // The next record with a field that is not empty (blank lines and rows of separators only are
  // skipped), into `*fields`; the first is the header row.
  // kEnd after the last one. kRefused with `*error` naming the line for a quote left open, text
  // after a closing quote, or a record with more fields than the header; nothing follows then.
  CsvStep Next(std::vector<std::string>* fields, std::string* error);

  // The line the last record started on, counted from 1.
  size_t Line() const { return recordLine_; }

 private:
  bool ReadRecord(std::vector<std::string>* fields, std::string* error);
  bool ReadField(std::string* field, std::string* error);
  bool ReadQuoted(std::string* field, std::string* error);
  bool AtEnd() const { return pos_ >= csv_.size(); }
  bool IsBlank(char c) const { return c == ' ' || (c == '\t' && separator_ != '\t'); }
  bool AtRecordEnd() const;
  void SkipLineEnd();

  std::string_view csv_;
  char separator_ = ',';
  size_t pos_ = 0;
  size_t line_ = 1;
  size_t recordLine_ = 1;
  size_t headerFields_ = 0;  // 0 until the header row is read
  bool refused_ = false;
};

}  // namespace formats
