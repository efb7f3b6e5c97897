#include "payload/served_selection.h"

#include "text/format.h"

namespace payload {
namespace {

// An array's string elements as texts, every other element as ""; nothing for a non-array.
std::vector<std::string> ReadTextList(const json::Value* value) {
  std::vector<std::string> list;
  if (!value || value->kind != json::kArray) return list;
  list.reserve(value->elements.size());
  for (const json::Value& element : value->elements) {
    list.push_back(element.kind == json::kString ? element.text : std::string());
  }
  return list;
}

// A number as "%.0f", a text as itself, anything else as "".
std::string NoteField(const json::Value* object, std::string_view key) {
  const json::Value* value = object ? json::Member(*object, key) : nullptr;
  if (!value) return "";
  if (value->kind == json::kNumber) return text::Format("%.0f", value->number);
  if (value->kind == json::kString) return value->text;
  return "";
}

}  // namespace

calendar::ServedSelection ReadServedSelection(const json::Value& root) {
  calendar::ServedSelection served;
  served.rootDates = ReadTextList(json::Member(root, "selected_expirations"));
  const json::Value* block = json::Member(root, "expiry_selection");
  if (!block) return served;
  served.mode = json::MemberAsText(*block, "mode");
  served.dates = ReadTextList(json::Member(*block, "selected_expirations"));
  const json::Value* coverage = json::Member(*block, "coverage");
  served.coverageServed = NoteField(coverage, "served");
  served.coverageRecorded = NoteField(coverage, "record_expirations");
  served.capturedAt = NoteField(block, "captured_at");
  served.quotesAt = NoteField(block, "quotes_at");
  return served;
}

}  // namespace payload
