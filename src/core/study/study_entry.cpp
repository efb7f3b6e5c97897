#include "study/study_entry.h"

#include "study/driver.h"
#include "study/study_declarations.h"

namespace study {

void StudyFunction(host::StudyHost& sc, platform::Services& ownServices) {
  // Nothing may escape into the platform: an exception here (allocation failure) costs this
  // call's work only; the last good map stays and the panel says what happened.
  bool declaration = false;
  try {
    declaration = sc.IsDeclarationCall();
    if (declaration) {
      DeclareStudy(sc);
      return;
    }
    platform::Services* lent = sc.Platform();
    RunDriver(sc, lent ? *lent : ownServices);
  } catch (...) {
    if (!declaration) NoteFailedCall(sc);
  }
}

}  // namespace study
