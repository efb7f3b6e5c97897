// Taking answers into the research view: a research answer after its identity checks, and
// every accepted live levels answer as a live capture (which may raise a structural alert).
#pragma once

#include <string>

#include "payload/live_map.h"
#include "payload/research_answer.h"
#include "research/research_view.h"

namespace research {

inline constexpr const char* kResearchIdentityMismatch = "Research unavailable: response identity mismatch.";
inline constexpr const char* kResearchBookMismatch = "Research unavailable: expiry book underlying mismatch.";
inline constexpr const char* kResearchCaptured = "Research captured on demand; change request to refresh.";

// Keeps `answer` as the view's research answer when it is "ok" and its symbol, day and source
// equal `symbol`, `day` and `expectedSource` (the options source of the symbol) and its expiry
// book, if it names an underlying, names `expectedSource`. Sets the status line either way; a
// refused answer leaves an earlier accepted one in place.
bool AcceptResearchResponse(ResearchView* view, payload::ResearchAnswer answer, const std::string& symbol,
                            const std::string& expectedSource, const std::string& day);

// Records the live map of an accepted levels answer as the view's live capture (stamped with
// the tick size) and returns the structural alert it raises (empty when none). With alerts on,
// a capture of the same symbol and provenance that is not newer than the last one is not
// recorded. With alerts off the alert state is cleared. A `tickSize` that is not a finite
// number above 0 counts as 0.
std::string RecordLiveCapture(ResearchView* view, payload::LiveMap live, const std::string& symbol,
                              bool alertsOn, int cooldownSeconds, double tickSize, double nowMs);

}  // namespace research
