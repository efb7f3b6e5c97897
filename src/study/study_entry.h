// The study function behind the exported entry point: declaration call or driver.
#pragma once

#include "host/drawing_request.h"

#include "host/study_host.h"

namespace study {

inline constexpr const char* kDllName = "Ordinel";
inline constexpr int kDllVersion = host::kHostInterfaceVersion;

// Declares the study on the declaration call; runs the driver on every other call.
// Never throws.
void StudyFunction(host::StudyHost& sc);

}  // namespace study
