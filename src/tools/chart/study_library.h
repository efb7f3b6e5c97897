// The study library as the platform loads it: dlopen (LoadLibrary on Windows), then the three
// exported entry points looked up by name.
#pragma once

#include <memory>
#include <string>

#include "host/study_host.h"

namespace chart {

// The signature of the study function, as exported and as a test study writes it.
using StudyFunction = void (*)(host::StudyHost&);

inline constexpr const char* kDllNameSymbol = "scdll_DLLName";
inline constexpr const char* kDllVersionSymbol = "scdll_DLLVersion";
inline constexpr const char* kStudyFunctionSymbol = "scsf_Ordinel";

class StudyLibrary {
 public:
  // Loads the library at `path` (RTLD_NOW | RTLD_LOCAL; on Windows by its full path) and
  // resolves its three entry points; nullptr with `*error` naming the file or the missing
  // symbol when that fails.
  static std::unique_ptr<StudyLibrary> Open(const std::string& path, std::string* error);
  ~StudyLibrary();
  StudyLibrary(const StudyLibrary&) = delete;
  StudyLibrary& operator=(const StudyLibrary&) = delete;

  // What scdll_DLLName returns; empty when it returns a null pointer.
  std::string DllName() const;
  int DllVersion() const;
  StudyFunction Function() const { return study_; }

  // Leaves the library loaded when this object goes; for a worker thread that may still run
  // the library's code.
  void KeepLoaded() { keepLoaded_ = true; }

 private:
  StudyLibrary() = default;
  void* handle_ = nullptr;
  const char* (*name_)() = nullptr;
  int (*version_)() = nullptr;
  StudyFunction study_ = nullptr;
  bool keepLoaded_ = false;
};

}  // namespace chart
