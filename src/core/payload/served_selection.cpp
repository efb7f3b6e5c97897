#include "payload/served_selection.h"

#include "text/format.h"

namespace payload {
namespace {

// An array's string elements as texts, every other element as ""; nothing for a non-array.
std::vector<std::string> ReadTextList(json::Node value) {
  std::vector<std::string> list;
  if (!value.IsArray()) return list;
  list.reserve(value.size());
  for (const json::Node element : value.Elements()) {
    list.push_back(element.IsString() ? std::string(element.text()) : std::string());
  }
  return list;
}

// A number as "%.0f", a text as itself, anything else as "".
std::string NoteField(json::Node object, std::string_view key) {
  const json::Node value = json::Member(object, key);
  if (!value) return "";
  if (value.IsNumber()) return text::Format("%.0f", value.number());
  if (value.IsString()) return std::string(value.text());
  return "";
}

}  // namespace

calendar::ServedSelection ReadServedSelection(json::Node root) {
  calendar::ServedSelection served;
  served.rootDates = ReadTextList(json::Member(root, "selected_expirations"));
  json::Node block = json::Member(root, "expiry_selection");
  if (!block) return served;
  served.mode = json::MemberAsText(block, "mode");
  served.dates = ReadTextList(json::Member(block, "selected_expirations"));
  json::Node coverage = json::Member(block, "coverage");
  served.coverageServed = NoteField(coverage, "served");
  served.coverageRecorded = NoteField(coverage, "record_expirations");
  served.capturedAt = NoteField(block, "captured_at");
  served.quotesAt = NoteField(block, "quotes_at");
  return served;
}

}  // namespace payload
