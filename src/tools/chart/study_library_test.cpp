#include "chart/study_library.h"

#include <gtest/gtest.h>

namespace chart {
namespace {

// A library of the system that the loader finds but that is no study.
#ifdef _WIN32
constexpr const char* kSystemLibrary = "C:/windows/system32/kernel32.dll";
#else
constexpr const char* kSystemLibrary = "libm.so.6";
#endif

TEST(StudyLibrary, MissingFileIsNamed) {
  std::string error;
  EXPECT_EQ(StudyLibrary::Open("/nonexistent/OrdinelStudy_64.so", &error), nullptr);
  EXPECT_NE(error.find("/nonexistent/OrdinelStudy_64.so"), std::string::npos) << error;
}

TEST(StudyLibrary, LibraryWithoutTheEntryPointsNamesTheFirstMissingSymbol) {
  std::string error;
  EXPECT_EQ(StudyLibrary::Open(kSystemLibrary, &error), nullptr);
  EXPECT_NE(error.find("does not export scdll_DLLName"), std::string::npos) << error;
}

#ifdef ORDINEL_STUDY_LIBRARY
TEST(StudyLibrary, LoadsTheBuiltStudyAndItsThreeEntryPoints) {
  std::string error;
  std::unique_ptr<StudyLibrary> library = StudyLibrary::Open(ORDINEL_STUDY_LIBRARY, &error);
  ASSERT_NE(library, nullptr) << error;
  EXPECT_EQ(library->DllName(), "Ordinel");
  EXPECT_EQ(library->DllVersion(), 2941);
  EXPECT_NE(library->Function(), nullptr);
}
#endif

}  // namespace
}  // namespace chart
