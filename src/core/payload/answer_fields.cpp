#include "payload/answer_fields.h"

#include "calendar/new_york_calendar.h"
#include "payload/levels_response.h"
#include "text/bounded_text.h"
#include "text/format.h"

namespace payload {

std::string JsonFieldText(json::Node value) {
  if (value.IsString()) return text::BoundedText(value.text());
  if (value.IsNumber()) return text::Format("%.15g", value.number());
  return {};
}

std::string ServiceText(json::Node object, std::string_view key) {
  return text::BoundedText(json::MemberAsText(object, key));
}

std::string ServiceNote(json::Node object, std::string_view key) {
  return text::BoundedText(CleanServiceNote(ServiceText(object, key)));
}

std::string MemberFieldText(json::Node object, const char* key) {
  return JsonFieldText(json::Member(object, key));
}

std::optional<double> MemberOptional(json::Node object, const char* key) {
  double number = 0;
  if (!json::MemberNumber(object, key, &number)) return std::nullopt;
  return number;
}

double TimestampToEpochMs(json::Node value) {
  double ms = 0;
  if (value.IsString() && calendar::TimestampTextToEpochMs(value.text(), &ms)) {
    return ms;
  }
  double number = 0;
  return json::NumberOfValue(value, &number) ? calendar::TimestampNumberToEpochMs(number) : 0;
}

}  // namespace payload
