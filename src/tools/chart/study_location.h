// Where the `ordinel` commands find the study library they load.
#pragma once

#include <string>

namespace chart {

// The study library's file name, as the build names it.
#ifdef _WIN32
inline constexpr const char* kStudyFileName = "OrdinelStudy_64.dll";
#else
inline constexpr const char* kStudyFileName = "OrdinelStudy_64.so";
#endif

// The library to load: `given` when not empty, else the study library beside the running
// program. A bare file name becomes "./NAME", so that it means the file here rather than a
// search of the library path.
std::string StudyLibraryPath(const std::string& given);

}  // namespace chart
