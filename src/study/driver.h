// The per-call driver: everything an ordinary call or the removal call does.
#pragma once

#include "host/study_host.h"
#include "platform/services.h"

namespace study {

// Persistent pointer slot that holds the instance state.
inline constexpr int kStatePointerSlot = 1;

// Runs one ordinary call with `services` (the New York zone, research GET and workers), or
// frees the instance on the removal call. Never waits for I/O.
void RunDriver(host::StudyHost& sc, platform::Services& services);

}  // namespace study
