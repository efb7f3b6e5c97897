#include "render/chart_pictures.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "formats/file_io.h"
#include "render/render_test_support.h"

namespace render {
namespace {

// The whole file; empty when it cannot be read.
std::string Slurp(const std::string& path) {
  std::string bytes;
  std::string error;
  formats::ReadFileWithin(path, size_t{16} << 20, &bytes, &error);
  return bytes;
}

// A write that failed half way used to leave truncated pictures where good ones were, and a
// live run rewrote both in place on every redraw.
TEST(ChartPictures, RegressionAFailedWriteKeepsTheGoodPictures) {
  const std::string base = ::testing::TempDir() + "/chart_pictures_" + std::to_string(getpid());
  const std::string png = base + ".png";
  const std::string svg = base + ".svg";
  const chart::ChartData chart = testing::SmallChart();
  std::string error;
  ASSERT_TRUE(WriteChartPictures(chart, {}, 400, 300, png, svg, &error)) << error;
  const std::string goodPng = Slurp(png);
  const std::string goodSvg = Slurp(svg);
  ASSERT_GT(goodPng.size(), 1024u);
  ASSERT_GT(goodSvg.size(), 1024u);

  // The child may write 1 KiB per file, so the new picture fails part way through.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit small{1024, 1024};
    setrlimit(RLIMIT_FSIZE, &small);
    const std::vector<host::DrawingRequest> more = {testing::Line(71000, 150, {255, 0, 255}, "new")};
    _exit(WriteChartPictures(chart, more, 800, 600, png, svg, &error) ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << "the write was meant to fail";
  EXPECT_EQ(Slurp(png), goodPng);
  EXPECT_EQ(Slurp(svg), goodSvg);
  std::filesystem::remove(png);
  std::filesystem::remove(svg);
}

}  // namespace
}  // namespace render
