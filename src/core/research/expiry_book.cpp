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
  double seconds = 0;
  const payload::BookExpiry* expiry = nullptr;
};

std::vector<Candidate> DatedExpiries(const std::vector<payload::BookExpiry>& expirations) {
  std::vector<Candidate> candidates;
  for (const payload::BookExpiry& entry : expirations) {
    const double seconds = calendar::IsoDateToEpochSeconds(entry.expiry);
    if (seconds >= 0) candidates.push_back({seconds, &entry});
  }
  std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
    return a.expiry->expiry < b.expiry->expiry;
  });
  return candidates;
}

std::vector<Candidate> ApplyLens(const std::vector<Candidate>& candidates, ExpiryLens lens, double day) {
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

using payload::BookRow;

// The book's four model aggregates of a row, in display order.
constexpr std::optional<double> BookRow::*kBookFields[] = {&BookRow::gex, &BookRow::dex, &BookRow::vex,
                                                           &BookRow::charmex};

std::string SumsLine(const std::string& expiry, const std::vector<BookRow>& rows) {
  std::string line = expiry;
  for (size_t m = 0; m < std::size(kBookMetrics); ++m) {
    const char* metric = kBookMetrics[m];
    double sum = 0;
    size_t count = 0;
    for (const BookRow& row : rows) {
      if (const std::optional<double>& value = row.*kBookFields[m]) {
        sum += *value;
        ++count;
      }
    }
    const std::optional<double> total = count > 0 ? std::optional<double>(sum) : std::nullopt;
    line += text::Format(" | %s %s [%zu/%zu]", metric, FormatOptional(total), count, rows.size());
  }
  return line;
}

void AppendInspectorRow(const std::string& expiry, const std::vector<BookRow>& rows, double inspectorStrike,
                        std::vector<std::string>* lines) {
  const BookRow* match = nullptr;
  if (inspectorStrike > 0) {
    for (const BookRow& row : rows) {
      if (std::fabs(row.strike - inspectorStrike) < kExactStrikeEpsilon) {
        match = &row;
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
  for (size_t m = 0; m < std::size(kBookMetrics); ++m) {
    line += std::string(" | ") + kBookMetrics[m] + " " + FormatOptional(match->*kBookFields[m]);
  }
  lines->push_back(std::move(line));
  lines->push_back("Book raw Greeks / IV / OI / volume: missing (model aggregates).");
}

}  // namespace

ExpiryLens ClampExpiryLens(int lensIndex) {
  return static_cast<ExpiryLens>(std::clamp(lensIndex, 0, static_cast<int>(kLensAvailable)));
}

const char* ExpiryLensName(ExpiryLens lens) {
  static constexpr const char* kNames[] = {"0DTE", "Week through Friday", "Next available third Friday",
                                           "Available expiries"};
  return kNames[ClampExpiryLens(lens)];
}

bool AppendExpiryBookLines(const payload::ExpiryBook& book, bool lensOn, bool inspectorOn, int lensIndex,
                           double inspectorStrike, const std::string& researchDay,
                           std::vector<std::string>* lines) {
  lines->push_back("Expiry book " + book.symbol + " (UNDERLYING strikes) | " + book.source + " / " +
                   book.method);
  lines->push_back("Coverage " + book.served + " / " + book.record_expirations + " expiries | band " +
                   book.strike_band_pct + "%");
  lines->push_back("Scope " + book.scope + " | captured ms " + book.captured_at + " | quotes ms " +
                   book.quotes_at);
  if (!book.note.empty()) lines->push_back(book.note);
  const double day = calendar::IsoDateToEpochSeconds(researchDay);
  if (day < 0) return false;

  const ExpiryLens lens = ClampExpiryLens(lensIndex);
  const std::vector<Candidate> candidates = DatedExpiries(book.expirations);
  const std::vector<Candidate> kept = ApplyLens(candidates, lens, day);
  lines->push_back(
      text::Format("%s: %zu / %zu served", ExpiryLensName(lens), kept.size(), candidates.size()));
  if (kept.empty()) lines->push_back("No expiry available for this lens; no synthetic chain.");
  for (const Candidate& c : kept) {
    if (lensOn) lines->push_back(SumsLine(c.expiry->expiry, c.expiry->rows));
    if (inspectorOn) AppendInspectorRow(c.expiry->expiry, c.expiry->rows, inspectorStrike, lines);
  }
  return true;
}

}  // namespace research
