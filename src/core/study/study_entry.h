// The study function behind the exported entry point: declaration call or driver.
#pragma once

#include "host/drawing_request.h"

#include "host/study_host.h"
#include "platform/services.h"

namespace study {

inline constexpr const char* kDllName = "Ordinel";
inline constexpr int kDllVersion = host::kHostInterfaceVersion;

// Declares the study on the declaration call; runs the driver on every other call, with the
// services the host lends, or `ownServices` (the library's own layer) when it lends none.
// Never throws.
void StudyFunction(host::StudyHost& sc, platform::Services& ownServices);

}  // namespace study
