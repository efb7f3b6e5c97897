#include "engine/chain_csv.h"

#include <array>
#include <cmath>
#include <vector>

#include "calendar/new_york_calendar.h"
#include "text/format.h"

namespace engine {
namespace {

enum Column { kExpiration, kStrike, kType, kOpenInterest, kImpliedVol, kVolume, kColumnCount };

struct ColumnNames {
  Column column;
  std::vector<std::string_view> names;  // already lower case, letters and digits only
};

const std::vector<ColumnNames>& KnownColumns() {
  static const std::vector<ColumnNames> kColumns = {
      {kExpiration, {"expiration", "expiry", "expirationdate", "expirydate", "expdate", "exp"}},
      {kStrike, {"strike", "strikeprice"}},
      {kType, {"type", "optiontype", "putcall", "callput", "cp", "right", "side"}},
      {kOpenInterest, {"openinterest", "oi"}},
      {kImpliedVol, {"impliedvolatility", "iv", "impliedvol", "impvol", "volatility"}},
      {kVolume, {"volume"}},
  };
  return kColumns;
}

struct Layout {
  std::array<int, kColumnCount> index;
  bool volatilityInPercent = false;
};

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) {
    s.remove_prefix(1);
  }
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// "Open Interest" and "open_interest" both become "openinterest".
std::string Canonical(std::string_view name) {
  std::string out;
  for (char c : name) {
    const char l = Lower(c);
    if ((l >= 'a' && l <= 'z') || (l >= '0' && l <= '9')) out += l;
  }
  return out;
}

bool SaysPercent(std::string_view name) {
  const std::string lower = [&] {
    std::string s;
    for (char c : name) s += Lower(c);
    return s;
  }();
  return lower.find('%') != std::string::npos || lower.find("pct") != std::string::npos ||
         lower.find("percent") != std::string::npos;
}

// One CSV record: fields split at commas, double quotes around a field, "" inside one.
std::vector<std::string> SplitFields(std::string_view line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        fields.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

// The canonical name with the percent words removed, so "IV %" and "iv_pct" name the IV column.
std::string NameWithoutPercent(std::string_view raw) {
  std::string name = Canonical(raw);
  for (std::string_view word : {"percent", "pct"}) {
    const size_t at = name.find(word);
    if (at != std::string::npos) name.erase(at, word.size());
  }
  return name;
}

bool FindLayout(const std::vector<std::string>& header, Layout* layout, std::string* error) {
  layout->index.fill(-1);
  for (size_t i = 0; i < header.size(); ++i) {
    const std::string name = NameWithoutPercent(header[i]);
    for (const ColumnNames& known : KnownColumns()) {
      if (layout->index[known.column] >= 0) continue;
      for (std::string_view candidate : known.names) {
        if (name != candidate) continue;
        layout->index[known.column] = static_cast<int>(i);
        if (known.column == kImpliedVol) layout->volatilityInPercent = SaysPercent(header[i]);
      }
    }
  }
  static constexpr const char* kRequired[] = {"expiration", "strike", "type", "open interest",
                                              "implied volatility"};
  for (int column = kExpiration; column <= kImpliedVol; ++column) {
    if (layout->index[column] < 0) {
      *error = text::Format("CSV chain: no %s column in the header row", kRequired[column]);
      return false;
    }
  }
  return true;
}

// A finite number filling the whole field (blanks around it allowed).
bool ReadNumber(std::string_view field, double* out) {
  field = Trim(field);
  if (field.empty()) return false;
  double value = 0;
  if (text::ParseDouble(field, &value) != field.size() || !std::isfinite(value)) return false;
  *out = value;
  return true;
}

bool ReadKind(std::string_view field, OptionKind* kind) {
  const std::string name = Canonical(field);
  if (name == "c" || name == "call" || name == "calls") {
    *kind = OptionKind::kCall;
  } else if (name == "p" || name == "put" || name == "puts") {
    *kind = OptionKind::kPut;
  } else {
    return false;
  }
  return true;
}

bool ReadVolatility(std::string_view field, bool columnInPercent, double* out) {
  field = Trim(field);
  const bool percent = columnInPercent || (!field.empty() && field.back() == '%');
  if (!field.empty() && field.back() == '%') field.remove_suffix(1);
  if (!ReadNumber(field, out)) return false;
  if (percent) *out /= 100.0;
  return true;
}

const std::string& Field(const std::vector<std::string>& fields, int index) {
  static const std::string kEmpty;
  return index >= 0 && static_cast<size_t>(index) < fields.size() ? fields[index] : kEmpty;
}

// The contract of one data row, or the reason it cannot be used.
const char* ReadRow(const std::vector<std::string>& fields, const Layout& layout,
                    OptionContract* contract) {
  const std::string expiration(Trim(Field(fields, layout.index[kExpiration])));
  if (!calendar::IsValidIsoDate(expiration)) return "expiration is not a YYYY-MM-DD date";
  contract->expiration = expiration;
  if (!ReadNumber(Field(fields, layout.index[kStrike]), &contract->strike)) {
    return "strike is missing or not a number";
  }
  if (contract->strike <= 0) return "strike is not above 0";
  if (!ReadKind(Field(fields, layout.index[kType]), &contract->kind)) {
    return "type is neither call nor put";
  }
  if (!ReadNumber(Field(fields, layout.index[kOpenInterest]), &contract->openInterest)) {
    return "open interest is missing or not a number";
  }
  if (contract->openInterest < 0) return "negative open interest";
  if (!ReadVolatility(Field(fields, layout.index[kImpliedVol]), layout.volatilityInPercent,
                      &contract->impliedVol)) {
    return "implied volatility is missing or not a number";
  }
  if (contract->impliedVol <= 0) return "implied volatility is not above 0";
  double volume = 0;
  if (ReadNumber(Field(fields, layout.index[kVolume]), &volume) && volume > 0) {
    contract->volume = volume;
  }
  return nullptr;
}

bool IsBlank(const std::vector<std::string>& fields) {
  for (const std::string& field : fields) {
    if (!Trim(field).empty()) return false;
  }
  return true;
}

}  // namespace

bool ReadCsvChain(std::string_view text, OptionChain* chain, std::string* error) {
  chain->contracts.clear();
  chain->issues = RowIssues{};
  if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  Layout layout;
  bool haveHeader = false;
  size_t lineNumber = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    const std::vector<std::string> fields = SplitFields(line);
    if (IsBlank(fields)) continue;
    if (!haveHeader) {
      if (!FindLayout(fields, &layout, error)) return false;
      haveHeader = true;
      continue;
    }
    OptionContract contract;
    if (const char* reason = ReadRow(fields, layout, &contract)) {
      chain->issues.Add(text::Format("line %d", static_cast<long long>(lineNumber)), reason);
      continue;
    }
    chain->contracts.push_back(std::move(contract));
  }
  if (!haveHeader) {
    *error = "CSV chain: no header row";
    return false;
  }
  return true;
}

}  // namespace engine
