#include "payload/answer_fields.h"

#include "calendar/new_york_calendar.h"
#include "payload/levels_response.h"
#include "text/bounded_text.h"
#include "text/format.h"

namespace payload {

std::string JsonFieldText(const json::Value* value) {
  if (value == nullptr) return {};
  if (value->kind == json::kString) return text::BoundedText(value->text);
  if (value->kind == json::kNumber) return text::Format("%.15g", value->number);
  return {};
}

std::string ServiceText(const json::Value& object, std::string_view key) {
  return text::BoundedText(json::MemberAsText(object, key));
}

std::string ServiceNote(const json::Value& object, std::string_view key) {
  return text::BoundedText(CleanServiceNote(ServiceText(object, key)));
}

const json::Value* MemberOf(const json::Value* object, const char* key) {
  return object == nullptr ? nullptr : json::Member(*object, key);
}

std::string MemberFieldText(const json::Value* object, const char* key) {
  return JsonFieldText(MemberOf(object, key));
}

std::optional<double> MemberOptional(const json::Value* object, const char* key) {
  double number = 0;
  if (object == nullptr || !json::MemberNumber(*object, key, &number)) return std::nullopt;
  return number;
}

double TimestampToEpochMs(const json::Value* value) {
  double ms = 0;
  if (value && value->kind == json::kString && calendar::TimestampTextToEpochMs(value->text, &ms)) {
    return ms;
  }
  double number = 0;
  return json::NumberOfValue(value, &number) ? calendar::TimestampNumberToEpochMs(number) : 0;
}

}  // namespace payload
