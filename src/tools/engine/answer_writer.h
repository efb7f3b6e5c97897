// The engine's answer in the wire format a levels service sends: the envelope, the level block
// and the extended sections, every price multiplied by the conversion ratio.
#pragma once

#include <string>

#include "engine/engine.h"

namespace engine {

// Name of the engine in the answer's "engine" fields.
inline constexpr const char* kEngineName = "ordinel-engine-1";

// The answer as compact JSON (no trailing newline).
std::string LevelsAnswerJson(const EngineAnswer& answer);

}  // namespace engine
