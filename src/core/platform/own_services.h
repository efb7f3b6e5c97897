// The study library's own operating-system services: what a study uses when its host lends it
// none. Each operating-system layer (posix/, windows/) defines the one function below; only a
// program or library that links one of those layers may call it.
#pragma once

#include "platform/services.h"

namespace platform {

// The process-wide services of the linked operating-system layer; they outlive every worker.
Services& OwnServices();

}  // namespace platform
