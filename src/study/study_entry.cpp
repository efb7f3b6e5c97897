#include "study/study_entry.h"

#include "study/driver.h"
#include "study/study_declarations.h"

namespace study {

void StudyFunction(host::StudyHost& sc, platform::Services& ownServices) {
  // Nothing may escape into the platform: an exception here (allocation failure) only costs
  // this call; the state and the last good map stay as they were.
  try {
    if (sc.IsDeclarationCall()) {
      DeclareStudy(sc);
      return;
    }
    platform::Services* lent = sc.Platform();
    RunDriver(sc, lent ? *lent : ownServices);
  } catch (...) {
  }
}

}  // namespace study
