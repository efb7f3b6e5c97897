// OrdinelStudy_64.dll loaded as the platform loads it, by a host that lends no services: the
// three entry points, and New York dates and the research GET from the DLL's own Windows layer
// against the sample levels service (its address in ORDINEL_TEST_SERVICE).
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "host/fake_study_host.h"
#include "study/study_entry.h"
#include "study/input_table.h"

namespace {

using DllName = const char* (*)();
using DllVersion = int (*)();
using StudyFunction = void (*)(host::StudyHost&);

// The DLL beside the test's working directory (the build's bin folder), loaded once.
class StudyDll : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { module_ = LoadLibraryW(L".\\OrdinelStudy_64.dll"); }
  void SetUp() override { ASSERT_NE(module_, nullptr) << "OrdinelStudy_64.dll did not load"; }

  template <typename Function>
  static Function Entry(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

  static HMODULE module_;
};
HMODULE StudyDll::module_ = nullptr;

TEST_F(StudyDll, EntryPointsNameTheStudy) {
  const auto name = Entry<DllName>("scdll_DLLName");
  const auto version = Entry<DllVersion>("scdll_DLLVersion");
  ASSERT_NE(name, nullptr);
  ASSERT_NE(version, nullptr);
  ASSERT_NE(Entry<StudyFunction>("scsf_Ordinel"), nullptr);
  EXPECT_STREQ(name(), study::kDllName);
  EXPECT_EQ(version(), study::kDllVersion);
}

bool Shows(const host::FakeStudyHost& sc, const std::string& text) {
  for (const auto& [line, drawing] : sc.drawings) {
    if (drawing.text.find(text) != std::string::npos) return true;
  }
  return false;
}

// At 03:00Z on 2025-01-03 New York is still on 2025-01-02, the day of the sample capture: a
// research day taken in UTC would ask for a day the answer does not match.
TEST_F(StudyDll, HostWithoutServicesGetsNewYorkDatesAndResearchFromTheDll) {
  const char* origin = std::getenv("ORDINEL_TEST_SERVICE");
  ASSERT_TRUE(origin && *origin) << "ORDINEL_TEST_SERVICE names no sample levels service; run "
                                    "scripts/test-windows.sh, which starts one";
  const auto study = Entry<StudyFunction>("scsf_Ordinel");
  ASSERT_NE(study, nullptr);
  host::FakeStudyHost sc;
  sc.lendServices = false;
  sc.declarationCall = true;
  study(sc);
  sc.declarationCall = false;
  sc.now = 1735873200;  // 2025-01-03T03:00Z
  sc.inputs[study::kApiBaseUrl].text = origin;
  sc.inputs[study::kWorkflowPreset].number = 2;  // Positioning: capture changes, Context tab
  sc.inputs[study::kResearchRequest].number = 1;

  // A bound far beyond a loopback GET; only a worker that never finishes reaches it.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  bool captured = false;
  while (!captured && std::chrono::steady_clock::now() < deadline) {
    study(sc);
    captured = Shows(sc, "Research captured on demand");  // the panel may wrap the rest
    if (!captured) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_TRUE(captured) << "no sample capture for 2025-01-02 shown";
  EXPECT_TRUE(sc.services.getUrls.empty()) << "the host lent nothing, yet its fake was asked";
  sc.removalCall = true;
  study(sc);
}

}  // namespace
