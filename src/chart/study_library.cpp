#include "chart/study_library.h"

#include <dlfcn.h>

namespace chart {
namespace {

std::string LastDlError() {
  const char* message = dlerror();
  return message ? message : "unknown error";
}

void* Symbol(void* handle, const char* name, const std::string& path, std::string* error) {
  dlerror();
  void* symbol = dlsym(handle, name);
  if (!symbol && error) {
    *error = "study library '" + path + "' does not export " + name + ": " + LastDlError();
  }
  return symbol;
}

}  // namespace

std::unique_ptr<StudyLibrary> StudyLibrary::Open(const std::string& path, std::string* error) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    if (error) *error = "cannot load study library '" + path + "': " + LastDlError();
    return nullptr;
  }
  std::unique_ptr<StudyLibrary> library(new StudyLibrary());
  library->handle_ = handle;
  void* name = Symbol(handle, kDllNameSymbol, path, error);
  void* version = name ? Symbol(handle, kDllVersionSymbol, path, error) : nullptr;
  void* study = version ? Symbol(handle, kStudyFunctionSymbol, path, error) : nullptr;
  if (!study) return nullptr;  // the destructor closes the handle
  library->name_ = reinterpret_cast<const char* (*)()>(name);
  library->version_ = reinterpret_cast<int (*)()>(version);
  library->study_ = reinterpret_cast<StudyFunction>(study);
  return library;
}

StudyLibrary::~StudyLibrary() {
  if (handle_ && !keepLoaded_) dlclose(handle_);
}

std::string StudyLibrary::DllName() const {
  const char* name = name_();
  return name ? name : "";
}

int StudyLibrary::DllVersion() const { return version_(); }

}  // namespace chart
