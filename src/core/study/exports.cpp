// The study library's three entry points, as the platform looks them up. The library links its
// own operating-system layer, used whenever the host lends no services.
#include "host/study_host.h"
#include "platform/own_services.h"
#include "study/study_entry.h"

#ifdef _WIN32
#define ORDINEL_EXPORT __declspec(dllexport)
#else
#define ORDINEL_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

ORDINEL_EXPORT const char* scdll_DLLName() { return study::kDllName; }

ORDINEL_EXPORT int scdll_DLLVersion() { return study::kDllVersion; }

ORDINEL_EXPORT void scsf_Ordinel(host::StudyHost& sc) { study::StudyFunction(sc, platform::OwnServices()); }

}  // extern "C"
