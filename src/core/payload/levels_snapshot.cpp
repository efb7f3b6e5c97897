#include "payload/levels_snapshot.h"

namespace payload {

void ResetSnapshot(LevelsSnapshot* snapshot) { *snapshot = LevelsSnapshot(); }

}  // namespace payload
