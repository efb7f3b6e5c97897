// The per-call driver: everything an ordinary call or the removal call does.
#pragma once

#include "host/study_host.h"

namespace study {

// Persistent pointer slot that holds the instance state.
inline constexpr int kStatePointerSlot = 1;

// Runs one ordinary call, or frees the instance on the removal call. Never waits for I/O.
void RunDriver(host::StudyHost& sc);

}  // namespace study
