#include "cli/study_location.h"

#include <unistd.h>

#include <climits>
#include <filesystem>

namespace cli {

std::string StudyLibraryPath(const std::string& given) {
  std::string path = given;
  if (path.empty()) {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    const std::filesystem::path program(std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0));
    path = n > 0 ? (program.parent_path() / kStudyFileName).string() : kStudyFileName;
  }
  return path.find('/') == std::string::npos ? "./" + path : path;
}

}  // namespace cli
