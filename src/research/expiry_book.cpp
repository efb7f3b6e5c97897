#include "research/expiry_book.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "calendar/new_york_calendar.h"
#include "research/research_text.h"
#include "text/format.h"

namespace research {
namespace {

constexpr const char* kBookMetrics[] = {"gex", "dex", "vex", "charmex"};
// Book strikes are exact underlying strikes; this only absorbs binary rounding.
constexpr double kExactStrikeEpsilon = 1e-8;

struct Candidate {
  std::string expiry;
  double seconds = 0;
  const json::Value* object = nullptr;
};

std::vector<Candidate> DatedExpiries(const json::Value* expirations) {
  std::vector<Candidate> candidates;
  if (expirations == nullptr || expirations->kind != json::kArray) return candidates;
  for (const json::Value& entry : expirations->elements) {
    if (entry.kind != json::kObject) continue;
    std::string expiry = MemberFieldText(&entry, "expiry");
    const double seconds = calendar::IsoDateToEpochSeconds(expiry);
    if (seconds >= 0) candidates.push_back({std::move(expiry), seconds, &entry});
  }
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const Candidate& a, const Candidate& b) { return a.expiry < b.expiry; });
  return candidates;
}

std::vector<Candidate> ApplyLens(const std::vector<Candidate>& candidates, ExpiryLens lens,
                                 double day) {
  std::vector<Candidate> kept;
  for (const Candidate& c : candidates) {
    bool keep = false;
    switch (lens) {
      case kLensZeroDte: keep = c.seconds == day; break;
      case kLensWeekThroughFriday: keep = calendar::InWeekThroughFriday(c.seconds, day); break;
      case kLensNextThirdFriday: keep = c.seconds >= day && calendar::IsThirdFriday(c.seconds); break;
      case kLensAvailable: keep = c.seconds >= day; break;
    }
    if (!keep) continue;
    kept.push_back(c);
    if (lens == kLensNextThirdFriday) break;  // only the next one
  }
  return kept;
}

struct StrikeRow {
  double strike = 0;
  const json::Value* row = nullptr;
};

// The row objects of an expiry whose strike is a finite number above 0.
std::vector<StrikeRow> StrikeRows(const json::Value& expiry) {
  std::vector<StrikeRow> rows;
  const json::Value* list = MemberOf(&expiry, "rows");
  if (list == nullptr || list->kind != json::kArray) return rows;
  for (const json::Value& row : list->elements) {
    const std::optional<double> strike = MemberOptional(&row, "strike");
    if (row.kind == json::kObject && strike && *strike > 0) rows.push_back({*strike, &row});
  }
  return rows;
}

std::string SumsLine(const std::string& expiry, const std::vector<StrikeRow>& rows) {
  std::string line = expiry;
  for (const char* metric : kBookMetrics) {
    double sum = 0;
    size_t count = 0;
    for (const StrikeRow& row : rows) {
      if (const std::optional<double> value = MemberOptional(row.row, metric)) {
        sum += *value;
        ++count;
      }
    }
    const std::optional<double> total = count > 0 ? std::optional<double>(sum) : std::nullopt;
    line += text::Format(" | %s %s [%zu/%zu]", metric, FormatOptional(total), count, rows.size());
  }
  return line;
}

void AppendInspectorRow(const std::string& expiry, const std::vector<StrikeRow>& rows,
                        double inspectorStrike, std::vector<std::string>* lines) {
  const json::Value* match = nullptr;
  if (inspectorStrike > 0) {
    for (const StrikeRow& row : rows) {
      if (std::fabs(row.strike - inspectorStrike) < kExactStrikeEpsilon) {
        match = row.row;
        break;
      }
    }
  }
  const std::string strikeText = FormatOptional(inspectorStrike);
  if (match == nullptr) {
    lines->push_back(expiry + ": select exact UNDERLYING strike; no row at " + strikeText);
    return;
  }
  std::string line = expiry + " strike " + strikeText;
  for (const char* metric : kBookMetrics) {
    line += std::string(" | ") + metric + " " + FormatOptional(MemberOptional(match, metric));
  }
  lines->push_back(std::move(line));
  lines->push_back("Book raw Greeks / IV / OI / volume: missing (model aggregates).");
}

}  // namespace

ExpiryLens ClampExpiryLens(int lensIndex) {
  return static_cast<ExpiryLens>(std::clamp(lensIndex, 0, static_cast<int>(kLensAvailable)));
}

const char* ExpiryLensName(ExpiryLens lens) {
  static constexpr const char* kNames[] = {"0DTE", "Week through Friday",
                                           "Next available third Friday", "Available expiries"};
  return kNames[ClampExpiryLens(lens)];
}

bool AppendExpiryBookLines(const json::Value& research, bool lensOn, bool inspectorOn,
                           int lensIndex, double inspectorStrike, const std::string& researchDay,
                           std::vector<std::string>* lines) {
  const json::Value* book = MemberOf(&research, "expiry_book");
  const json::Value* coverage = MemberOf(book, "coverage");
  lines->push_back("Expiry book " + MemberFieldText(book, "symbol") + " (UNDERLYING strikes) | " +
                   MemberFieldText(book, "source") + " / " + MemberFieldText(book, "method"));
  lines->push_back("Coverage " + MemberFieldText(coverage, "served") + " / " +
                   MemberFieldText(coverage, "record_expirations") + " expiries | band " +
                   MemberFieldText(coverage, "strike_band_pct") + "%");
  lines->push_back("Scope " + MemberFieldText(book, "scope") + " | captured ms " +
                   MemberFieldText(book, "captured_at") + " | quotes ms " +
                   MemberFieldText(book, "quotes_at"));
  if (std::string note = MemberFieldText(book, "note"); !note.empty()) {
    lines->push_back(std::move(note));
  }
  const double day = calendar::IsoDateToEpochSeconds(researchDay);
  if (day < 0) return false;

  const ExpiryLens lens = ClampExpiryLens(lensIndex);
  const std::vector<Candidate> candidates = DatedExpiries(MemberOf(book, "expirations"));
  const std::vector<Candidate> kept = ApplyLens(candidates, lens, day);
  lines->push_back(
      text::Format("%s: %zu / %zu served", ExpiryLensName(lens), kept.size(), candidates.size()));
  if (kept.empty()) lines->push_back("No expiry available for this lens; no synthetic chain.");
  for (const Candidate& c : kept) {
    const std::vector<StrikeRow> rows = StrikeRows(*c.object);
    if (lensOn) lines->push_back(SumsLine(c.expiry, rows));
    if (inspectorOn) AppendInspectorRow(c.expiry, rows, inspectorStrike, lines);
  }
  return true;
}

}  // namespace research
