#include "payload/research_answer.h"

#include "payload/answer_fields.h"

namespace payload {
namespace {

json::Node ArrayMember(json::Node object, const char* key) {
  json::Node member = json::Member(object, key);
  return member.IsArray() ? member : json::Node();
}

CaptureHistory ReadHistory(json::Node history) {
  CaptureHistory h;
  h.excluded = MemberFieldText(history, "excluded");
  h.limit = MemberFieldText(history, "limit");
  h.note = MemberFieldText(history, "note");
  if (json::Node rows = ArrayMember(history, "rows")) {
    for (const json::Node row : rows.Elements()) {
      if (row.IsObject()) h.rows.push_back(ParsePositioningCapture(row));
    }
  }
  return h;
}

std::vector<BookRow> ReadRows(json::Node expiry) {
  std::vector<BookRow> rows;
  json::Node list = ArrayMember(expiry, "rows");
  if (!list) return rows;
  for (const json::Node row : list.Elements()) {
    const std::optional<double> strike = MemberOptional(row, "strike");
    if (!row.IsObject() || !strike || !(*strike > 0)) continue;
    rows.push_back({*strike, MemberOptional(row, "gex"), MemberOptional(row, "dex"),
                    MemberOptional(row, "vex"), MemberOptional(row, "charmex")});
  }
  return rows;
}

ExpiryBook ReadBook(json::Node book) {
  ExpiryBook b;
  json::Node coverage = json::Member(book, "coverage");
  b.symbol = MemberFieldText(book, "symbol");
  b.source = MemberFieldText(book, "source");
  b.method = MemberFieldText(book, "method");
  b.scope = MemberFieldText(book, "scope");
  b.captured_at = MemberFieldText(book, "captured_at");
  b.quotes_at = MemberFieldText(book, "quotes_at");
  b.note = MemberFieldText(book, "note");
  b.served = MemberFieldText(coverage, "served");
  b.record_expirations = MemberFieldText(coverage, "record_expirations");
  b.strike_band_pct = MemberFieldText(coverage, "strike_band_pct");
  if (json::Node expirations = ArrayMember(book, "expirations")) {
    for (const json::Node entry : expirations.Elements()) {
      if (!entry.IsObject()) continue;
      b.expirations.push_back({MemberFieldText(entry, "expiry"), ReadRows(entry)});
    }
  }
  return b;
}

}  // namespace

ResearchAnswer ReadResearchAnswer(json::Node root) {
  ResearchAnswer answer;
  answer.ok = root.IsObject() && json::MemberIsTrue(root, "ok");
  answer.symbol = MemberFieldText(root, "symbol");
  answer.day = MemberFieldText(root, "day");
  answer.source = MemberFieldText(root, "source");
  answer.history = ReadHistory(json::Member(root, "history"));
  answer.book = ReadBook(json::Member(root, "expiry_book"));
  return answer;
}

}  // namespace payload
