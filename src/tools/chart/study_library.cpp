#include "chart/study_library.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace chart {
namespace {

#ifdef _WIN32

// The system's text for the calling thread's last error, without its trailing line break.
std::string LastLoadError() {
  const DWORD code = GetLastError();
  char* buffer = nullptr;
  const DWORD size = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string message = size > 0 && buffer ? std::string(buffer, size) : "error " + std::to_string(code);
  if (buffer) LocalFree(buffer);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
    message.pop_back();
  }
  return message;
}

// A relative path is made whole first: LoadLibrary would search the system's folders for it.
void* LoadModule(const std::string& path) {
  const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.c_str(), -1, nullptr, 0);
  if (wide <= 0) return nullptr;
  std::wstring name(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.c_str(), -1, name.data(), wide);
  const DWORD full = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
  if (full == 0) return nullptr;
  std::wstring whole(full, L'\0');
  if (GetFullPathNameW(name.c_str(), full, whole.data(), nullptr) == 0) return nullptr;
  return LoadLibraryExW(whole.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void* FindSymbol(void* handle, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

void CloseModule(void* handle) { FreeLibrary(static_cast<HMODULE>(handle)); }

#else

std::string LastLoadError() {
  const char* message = dlerror();
  return message ? message : "unknown error";
}

void* LoadModule(const std::string& path) { return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }

void* FindSymbol(void* handle, const char* name) {
  dlerror();
  return dlsym(handle, name);
}

void CloseModule(void* handle) { dlclose(handle); }

#endif

void* Symbol(void* handle, const char* name, const std::string& path, std::string* error) {
  void* symbol = FindSymbol(handle, name);
  if (!symbol && error) {
    *error = "study library '" + path + "' does not export " + name + ": " + LastLoadError();
  }
  return symbol;
}

}  // namespace

std::unique_ptr<StudyLibrary> StudyLibrary::Open(const std::string& path, std::string* error) {
  void* handle = LoadModule(path);
  if (!handle) {
    if (error) *error = "cannot load study library '" + path + "': " + LastLoadError();
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
  if (handle_ && !keepLoaded_) CloseModule(handle_);
}

std::string StudyLibrary::DllName() const {
  const char* name = name_();
  return name ? name : "";
}

int StudyLibrary::DllVersion() const { return version_(); }

}  // namespace chart
