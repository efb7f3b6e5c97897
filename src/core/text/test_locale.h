// Test helper: runs a check under a decimal-comma locale, the setting in which a number
// routine that consults the process locale would print or read "0,5".
#pragma once

#include <clocale>

namespace text::testing {

#ifdef _WIN32
// The Windows C runtime names locales by language, country and code page.
inline constexpr const char* kDecimalCommaLocale = "German_Germany.1252";
inline constexpr const char* kMissingLocaleHint =
    "the Windows C runtime does not know the locale German_Germany.1252";
#else
inline constexpr const char* kDecimalCommaLocale = "de_DE.UTF-8";
inline constexpr const char* kMissingLocaleHint =
    "locale de_DE.UTF-8 is not installed: run scripts/setup.sh, which generates it";
#endif

// Switches LC_ALL for the lifetime of the object and restores "C" afterwards; `active()` is
// false when the locale is missing.
class ScopedLocale {
 public:
  explicit ScopedLocale(const char* name) : active_(std::setlocale(LC_ALL, name) != nullptr) {}
  ~ScopedLocale() { std::setlocale(LC_ALL, "C"); }
  ScopedLocale(const ScopedLocale&) = delete;
  ScopedLocale& operator=(const ScopedLocale&) = delete;
  bool active() const { return active_; }

 private:
  bool active_;
};

}  // namespace text::testing
