#include "engine/chain_csv.h"

#include <array>
#include <cmath>
#include <vector>

#include "calendar/new_york_calendar.h"
#include "engine/chain_screen.h"
#include "formats/csv_records.h"
#include "text/ascii.h"
#include "text/fail.h"
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
  std::string volatilityName;  // the IV column's name as a message quotes it
};

// "Open Interest" and "open_interest" both become "openinterest".
std::string Canonical(std::string_view name) {
  std::string out;
  for (char c : name) {
    const char l = text::AsciiLower(c);
    if ((l >= 'a' && l <= 'z') || (l >= '0' && l <= '9')) out += l;
  }
  return out;
}

bool SaysPercent(std::string_view name) {
  const std::string lower = text::AsciiLower(name);
  return lower.find('%') != std::string::npos || lower.find("pct") != std::string::npos ||
         lower.find("percent") != std::string::npos;
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

// A column name fit to quote in a message: as written when it is short printable ASCII, else
// its canonical form.
std::string QuotableName(std::string_view raw) {
  raw = text::TrimBlanks(raw);
  bool plain = !raw.empty() && raw.size() <= 32;
  for (char c : raw) plain = plain && c >= ' ' && c <= '~' && c != '"';
  return plain ? std::string(raw) : Canonical(raw);
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
        if (known.column != kImpliedVol) continue;
        layout->volatilityInPercent = SaysPercent(header[i]);
        layout->volatilityName = QuotableName(header[i]);
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
  field = text::TrimBlanks(field);
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
  field = text::TrimBlanks(field);
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
const char* ReadRow(const std::vector<std::string>& fields, const Layout& layout, OptionContract* contract) {
  const std::string expiration(text::TrimBlanks(Field(fields, layout.index[kExpiration])));
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
  // The volume is optional, so only an empty field means none.
  const std::string& volume = Field(fields, layout.index[kVolume]);
  if (text::TrimBlanks(volume).empty()) return nullptr;
  if (!ReadNumber(volume, &contract->volume)) return "volume is not a number";
  if (contract->volume < 0) return "negative volume";
  return nullptr;
}

// What to say when the decimal IV column turns out to hold percents.
std::string PercentHint(const Layout& layout) {
  if (layout.volatilityInPercent) return "";
  const std::string& name = layout.volatilityName;
  return text::Format(
      "the implied volatility column \"%s\" seems to hold percents (15 for 15 %%): name it "
      "\"%s %%\" or \"%s_pct\", or end each value with '%%'",
      name, name, name);
}

}  // namespace

bool ReadCsvChain(std::string_view text, OptionChain* chain, std::string* error) {
  chain->contracts.clear();
  chain->issues = RowIssues{};
  formats::CsvRecords records(text);
  std::vector<std::string> fields;
  Layout layout;
  bool haveHeader = false;
  std::vector<ContractOrigin> origins;
  for (;;) {
    const formats::CsvStep step = records.Next(&fields, error);
    if (step == formats::CsvStep::kRefused) return text::Fail(error, "CSV chain: " + *error);
    if (step == formats::CsvStep::kEnd) break;
    if (!haveHeader) {
      if (!FindLayout(fields, &layout, error)) return false;
      haveHeader = true;
      continue;
    }
    OptionContract contract;
    if (const char* reason = ReadRow(fields, layout, &contract)) {
      chain->issues.Add(text::Format("line %zu", records.Line()), reason);
      continue;
    }
    chain->contracts.push_back(std::move(contract));
    origins.push_back({records.Line(), ""});
  }
  if (!haveHeader) return text::Fail(error, "CSV chain: no header row");
  ScreenContracts(
      origins, [](size_t line) { return text::Format("line %zu", line); }, PercentHint(layout), chain);
  return true;
}

}  // namespace engine
