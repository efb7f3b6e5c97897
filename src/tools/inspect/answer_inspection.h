// What the study reads from one levels answer, as the JSON that `ordinel inspect` prints.
#pragma once

#include <string>
#include <string_view>

#include "jsonout/json_writer.h"
#include "payload/levels_snapshot.h"

namespace inspect {

// Writes `snapshot` as one JSON object with a member per field, in declared order.
void WriteSnapshotJson(const payload::LevelsSnapshot& snapshot, jsonout::JsonWriter* writer);

// The complete inspect output for the answer `body` (ending in a newline): {"json": false} when
// it is not JSON, the refusal message when ParseLevelsResponse refuses it, else the snapshot.
std::string InspectAnswer(std::string_view body, int topStrikes);

}  // namespace inspect
