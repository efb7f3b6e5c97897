// The study library's three entry points, as the platform looks them up.
#include "host/study_host.h"
#include "study/study_entry.h"

extern "C" {

__attribute__((visibility("default"))) const char* scdll_DLLName() { return study::kDllName; }

__attribute__((visibility("default"))) int scdll_DLLVersion() { return study::kDllVersion; }

__attribute__((visibility("default"))) void scsf_Ordinel(host::StudyHost& sc) {
  study::StudyFunction(sc);
}

}  // extern "C"
