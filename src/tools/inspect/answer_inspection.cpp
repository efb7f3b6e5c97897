// What `ordinel inspect` prints for one answer: the study's own JSON reader and
// ParseLevelsResponse on the bytes, then the snapshot it keeps.
#include "inspect/answer_inspection.h"

#include <new>

#include "json/json_document.h"
#include "payload/levels_response.h"
#include "study/fetch_cycle.h"
#include "text/format.h"

namespace inspect {

std::string StudyRefusal(size_t bytes) {
  if (bytes <= study::kMaxAnswerBytes) return "";
  return text::Format("%zu bytes, more than the %zu the study reads; it reads nothing of it and shows: %s",
                      bytes, study::kMaxAnswerBytes, study::kAnswerTooLargeError);
}

std::string InspectAnswer(std::string_view body, int topStrikes) {
  json::Document document;
  const json::ParseResult parsed = document.Parse(body);
  if (parsed == json::ParseResult::kOutOfMemory) throw std::bad_alloc();  // as any allocation
  if (parsed != json::ParseResult::kParsed) return "{\"json\": false}\n";
  payload::LevelsSnapshot snapshot;
  std::string status;
  if (!payload::ParseLevelsResponse(document.Root(), topStrikes, &snapshot, &status)) {
    std::string out = "{\"json\": true, \"ok\": false, \"status\": ";
    jsonout::AppendJsonString(&out, status);
    out += "}\n";
    return out;
  }
  std::string out;
  jsonout::JsonWriter writer(&out);
  writer.BeginObject();
  writer.Key("json");
  writer.Bool(true);
  writer.Key("ok");
  writer.Bool(true);
  writer.Key("snapshot");
  WriteSnapshotJson(snapshot, &writer);
  writer.EndObject();
  out += '\n';
  return out;
}

}  // namespace inspect
