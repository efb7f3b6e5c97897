#include "chart/study_location.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <climits>
#include <filesystem>

namespace chart {
namespace {

// The running program's own file; empty when the system does not say.
std::filesystem::path ProgramFile() {
#ifdef _WIN32
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return std::filesystem::path(buffer.substr(0, n));
    buffer.resize(buffer.size() * 2);  // truncated: a longer path than MAX_PATH
  }
#else
  char buffer[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? std::filesystem::path(std::string(buffer, static_cast<size_t>(n))) : std::filesystem::path();
#endif
}

// `path` as UTF-8 text, the form StudyLibrary::Open takes on every system.
std::string Utf8Text(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

bool HasDirectory(const std::string& path) {
#ifdef _WIN32
  return path.find_first_of("/\\:") != std::string::npos;
#else
  return path.find('/') != std::string::npos;
#endif
}

}  // namespace

std::string StudyLibraryPath(const std::string& given) {
  std::string path = given;
  if (path.empty()) {
    const std::filesystem::path program = ProgramFile();
    path = program.empty() ? kStudyFileName : Utf8Text(program.parent_path() / kStudyFileName);
  }
  return HasDirectory(path) ? path : "./" + path;
}

}  // namespace chart
