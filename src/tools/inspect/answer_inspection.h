// What the study reads from one levels answer, as the JSON that `ordinel inspect` prints.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "jsonout/json_writer.h"
#include "payload/levels_snapshot.h"

namespace inspect {

// Writes `snapshot` as one JSON object with a member per field, in declared order.
void WriteSnapshotJson(const payload::LevelsSnapshot& snapshot, jsonout::JsonWriter* writer);

// Empty when the study reads an answer of `bytes` bytes; for a larger one, why it does not,
// ending with the error line the study shows for it.
std::string StudyRefusal(size_t bytes);

// The complete inspect output for the answer `body` (ending in a newline): {"json": false} when
// it is not JSON, the refusal message when ParseLevelsResponse refuses it, else the snapshot.
// Requires: StudyRefusal(body.size()) is empty, as the study reads nothing of a larger answer.
std::string InspectAnswer(std::string_view body, int topStrikes);

}  // namespace inspect
