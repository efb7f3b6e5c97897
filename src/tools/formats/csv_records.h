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

// Reads the records of one CSV text in order: fields split at commas outside quotes, a quoted
// field holding commas, line breaks and doubled quotes; blanks around a field dropped; "\n",
// "\r\n" and a lone "\r" ending a record; a UTF-8 byte-order mark before the first skipped.
class CsvRecords {
 public:
  // Requires: `csv` outlives the reader.
  explicit CsvRecords(std::string_view csv);

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
  bool AtRecordEnd() const;
  void SkipLineEnd();

  std::string_view csv_;
  // Every rule reads the separator from here, so that another one can be chosen per file.
  char separator_ = ',';
  size_t pos_ = 0;
  size_t line_ = 1;
  size_t recordLine_ = 1;
  size_t headerFields_ = 0;  // 0 until the header row is read
  bool refused_ = false;
};

}  // namespace formats
