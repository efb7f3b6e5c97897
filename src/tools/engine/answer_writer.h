// The engine's answer in the wire format a levels service sends: the envelope, the level block
// and the extended sections, every price multiplied by the conversion ratio.
#pragma once

#include <string>

#include "engine/engine.h"

namespace engine {

// Name of the engine in the answer's "engine" fields.
inline constexpr const char* kEngineName = "ordinel-engine-1";

// The one GEX basis the engine computes, whatever basis a request names: open interest as the
// chain reports it, which exchanges publish once a day after settlement.
inline constexpr const char* kEngineBasis = "settlement_oi";

// What a levels service adds to the envelope of an answer it serves. The default adds nothing,
// so `ordinel engine` and the sample service write what they always wrote.
struct ServiceStamp {
  std::string requestedBasis;         // set: "requested_basis" beside the "basis" computed
  bool locked = false;                // "locked_mode" and "locked_snapshot" true with the three below
  std::string lockedCapturedAt;       // the locked capture's chain time, UTC
  double lockedRefreshAfterUnix = 0;  // when the next locked map is due
  std::string lockedSession;          // the New York session date it was locked for
};

// The answer as compact JSON (no trailing newline), with `stamp` in its envelope.
std::string LevelsAnswerJson(const EngineAnswer& answer, const ServiceStamp& stamp = {});

}  // namespace engine
