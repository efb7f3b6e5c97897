#include "payload/research_answer.h"

#include "payload/answer_fields.h"

namespace payload {
namespace {

const json::Value* ArrayMember(const json::Value* object, const char* key) {
  const json::Value* member = MemberOf(object, key);
  return member != nullptr && member->kind == json::kArray ? member : nullptr;
}

CaptureHistory ReadHistory(const json::Value* history) {
  CaptureHistory h;
  h.excluded = MemberFieldText(history, "excluded");
  h.limit = MemberFieldText(history, "limit");
  h.note = MemberFieldText(history, "note");
  if (const json::Value* rows = ArrayMember(history, "rows")) {
    for (const json::Value& row : rows->elements) {
      if (row.kind == json::kObject) h.rows.push_back(ParsePositioningCapture(&row));
    }
  }
  return h;
}

std::vector<BookRow> ReadRows(const json::Value& expiry) {
  std::vector<BookRow> rows;
  const json::Value* list = ArrayMember(&expiry, "rows");
  if (list == nullptr) return rows;
  for (const json::Value& row : list->elements) {
    const std::optional<double> strike = MemberOptional(&row, "strike");
    if (row.kind != json::kObject || !strike || !(*strike > 0)) continue;
    rows.push_back({*strike, MemberOptional(&row, "gex"), MemberOptional(&row, "dex"),
                    MemberOptional(&row, "vex"), MemberOptional(&row, "charmex")});
  }
  return rows;
}

ExpiryBook ReadBook(const json::Value* book) {
  ExpiryBook b;
  const json::Value* coverage = MemberOf(book, "coverage");
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
  if (const json::Value* expirations = ArrayMember(book, "expirations")) {
    for (const json::Value& entry : expirations->elements) {
      if (entry.kind != json::kObject) continue;
      b.expirations.push_back({MemberFieldText(&entry, "expiry"), ReadRows(entry)});
    }
  }
  return b;
}

}  // namespace

ResearchAnswer ReadResearchAnswer(const json::Value& root) {
  ResearchAnswer answer;
  answer.ok = root.kind == json::kObject && json::MemberIsTrue(root, "ok");
  answer.symbol = MemberFieldText(&root, "symbol");
  answer.day = MemberFieldText(&root, "day");
  answer.source = MemberFieldText(&root, "source");
  answer.history = ReadHistory(MemberOf(&root, "history"));
  answer.book = ReadBook(MemberOf(&root, "expiry_book"));
  return answer;
}

}  // namespace payload
