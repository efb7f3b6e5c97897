#include "chart/bars_csv.h"

#include <cmath>

#include "text/format.h"

namespace chart {
namespace {

constexpr const char* kColumnNames[4] = {"open", "high", "low", "close"};

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '"')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '"' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  while (true) {
    const size_t comma = line.find(',', start);
    fields.push_back(Trim(line.substr(start, comma == std::string_view::npos ? comma : comma - start)));
    if (comma == std::string_view::npos) return fields;
    start = comma + 1;
  }
}

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const char c = (a[i] >= 'A' && a[i] <= 'Z') ? char(a[i] - 'A' + 'a') : a[i];
    if (c != b[i]) return false;
  }
  return true;
}

// Column index of open, high, low and close; false when the header names only some of them.
bool ColumnsFromHeader(const std::vector<std::string_view>& header, size_t columns[4]) {
  int named = 0;
  for (int k = 0; k < 4; ++k) {
    columns[k] = static_cast<size_t>(k);
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

bool ReadField(std::string_view field, double* out) {
  if (field.empty()) return false;
  const size_t used = text::ParseDouble(field, out);
  return used == field.size() && std::isfinite(*out);
}

}  // namespace

bool ReadBarsCsv(std::string_view csv, std::vector<Bar>* bars, std::string* error) {
  bars->clear();
  bool haveHeader = false;
  size_t columns[4] = {0, 1, 2, 3};
  size_t lineNumber = 0;
  size_t start = 0;
  while (start < csv.size()) {
    size_t end = csv.find('\n', start);
    if (end == std::string_view::npos) end = csv.size();
    const std::string_view line = Trim(csv.substr(start, end - start));
    start = end + 1;
    ++lineNumber;
    if (line.empty()) continue;
    const std::vector<std::string_view> fields = SplitFields(line);
    if (!haveHeader) {
      haveHeader = true;
      if (!ColumnsFromHeader(fields, columns)) {
        *error = "line " + std::to_string(lineNumber) + ": the header names only some of open, high, low, close";
        return false;
      }
      continue;
    }
    double values[4];
    for (int k = 0; k < 4; ++k) {
      if (columns[k] >= fields.size() || !ReadField(fields[columns[k]], &values[k])) {
        *error = "line " + std::to_string(lineNumber) + ": " + kColumnNames[k] + " is not a number";
        return false;
      }
    }
    bars->push_back({values[0], values[1], values[2], values[3]});
  }
  if (!haveHeader) {
    *error = "no header row";
    return false;
  }
  return true;
}

}  // namespace chart
