// Where the sample answers live when nobody says: beside the program in the repository
// (build/bin/ordinel -> data/answers), else the source tree the program was built from.
#pragma once

#include <string>

namespace service {

// The directory of the sample answers: "<dir of the running program>/../../data/answers" when
// it holds legacy.json, else the source tree's data/answers recorded at build time.
std::string DefaultDataDir();

}  // namespace service
