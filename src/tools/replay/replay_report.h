// The JSON report of `ordinel replay`: the study's declarations, then every dump with what
// the platform observed up to it.
#pragma once

#include <string>

#include "replay/replay_session.h"

namespace replay {

struct LibraryIdentity {
  std::string dllName;
  int dllVersion = 0;
};

// The whole report, pretty-printed, ending with a line feed.
std::string ReplayReport(const LibraryIdentity& library, const ReplaySession& session);

}  // namespace replay
