// Taking answers into the research view: a research answer after its identity checks, and
// every accepted live levels answer as a live capture (which may raise a structural alert).
#pragma once

#include <string>

#include "json/json_value.h"
#include "research/positioning_capture.h"
#include "research/research_view.h"

namespace research {

inline constexpr const char* kResearchIdentityMismatch =
    "Research unavailable: response identity mismatch.";
inline constexpr const char* kResearchBookMismatch =
    "Research unavailable: expiry book underlying mismatch.";
inline constexpr const char* kResearchCaptured =
    "Research captured on demand; change request to refresh.";

// Keeps `root` as the view's research answer when it is an object with "ok" true whose
// "symbol", "day" and "source" equal `symbol`, `day` and `expectedSource` (the options source
// of the symbol) and whose expiry book, if it names an underlying, names `expectedSource`.
// Sets the status line either way; a refused answer leaves an earlier accepted one in place.
bool AcceptResearchResponse(ResearchView* view, const json::Value& root, const std::string& symbol,
                            const std::string& expectedSource, const std::string& day);

// The capture a levels answer stands for: its "display_levels" block with the provenance
// taken from the root (session date, resolved symbol, source time, ratio), stamped with
// `tickSize`.
PositioningCapture LiveCapture(const json::Value& levelsRoot, double tickSize);

// Records an accepted levels answer as the view's live capture and returns the structural
// alert it raises (empty when none). With alerts on, a capture of the same symbol and
// provenance that is not newer than the last one is not recorded. With alerts off the alert
// state is cleared. A `tickSize` that is not a finite number above 0 counts as 0.
std::string RecordLiveCapture(ResearchView* view, const json::Value& levelsRoot,
                              const std::string& symbol, bool alertsOn, int cooldownSeconds,
                              double tickSize, double nowMs);

}  // namespace research
