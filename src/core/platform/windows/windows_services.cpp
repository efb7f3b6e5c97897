#include "platform/windows/windows_services.h"

#include <process.h>
#include <windows.h>

#include <memory>
#include <utility>

#include "platform/own_services.h"
#include "platform/windows/new_york_zone.h"
#include "platform/windows/winhttp_get.h"

namespace platform {
namespace {

struct WorkerStart {
  std::function<void()> work;
  HMODULE module = nullptr;  // the reference the worker holds on its own code
};

unsigned __stdcall RunWorker(void* argument) {
  HMODULE module = nullptr;
  {
    std::unique_ptr<WorkerStart> start(static_cast<WorkerStart*>(argument));
    module = start->module;
    try {
      start->work();
    } catch (...) {
    }
  }
  // Drops the reference and ends the thread without returning into code that may be gone.
  FreeLibraryAndExitThread(module, 0);
  return 0;
}

}  // namespace

CivilDate WindowsServices::NewYorkDate(double utcSeconds) { return WindowsNewYorkDate(utcSeconds); }

double WindowsServices::NewYorkUtcOffsetSeconds(double utcSeconds) {
  return WindowsNewYorkUtcOffsetSeconds(utcSeconds);
}

HttpGetResult WindowsServices::HttpsGet(const std::string& url, const HttpGetLimits& limits) {
  return WinHttpGet(url, limits);
}

bool WindowsServices::StartDetachedThread(std::function<void()> work) {
  std::unique_ptr<WorkerStart> start;
  try {
    start = std::make_unique<WorkerStart>(WorkerStart{std::move(work), nullptr});
  } catch (...) {
    return false;
  }
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&RunWorker),
                          &start->module)) {
    return false;
  }
  const uintptr_t thread = _beginthreadex(nullptr, 0, RunWorker, start.get(), 0, nullptr);
  if (thread == 0) {
    FreeLibrary(start->module);
    return false;
  }
  start.release();  // the worker owns it now
  CloseHandle(reinterpret_cast<HANDLE>(thread));
  return true;
}

Services& OwnServices() {
  static WindowsServices services;
  return services;
}

}  // namespace platform
