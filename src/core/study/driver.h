// The per-call driver: everything an ordinary call or the removal call does.
#pragma once

#include "host/study_host.h"
#include "platform/services.h"

namespace study {

// Persistent pointer slot that holds the instance state.
inline constexpr int kStatePointerSlot = 1;

inline constexpr const char* kOutOfMemoryStatus =
    "Not enough memory for the last update: it was dropped and your last levels stay on the chart.";

// Runs one ordinary call with `services` (the New York zone, research GET and workers), or
// frees the instance on the removal call. Never waits for I/O.
void RunDriver(host::StudyHost& sc, platform::Services& services);

// After an ordinary call ended in an exception (memory ran out): shows kOutOfMemoryStatus,
// logging it once per run of failures, and asks the next call to redraw. Never throws.
void NoteFailedCall(host::StudyHost& sc) noexcept;

}  // namespace study
