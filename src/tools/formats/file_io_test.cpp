#include "formats/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <thread>

namespace formats {
namespace {

std::string TempPath(const std::string& name) {
  return testing::TempDir() + "/file_io_" + std::to_string(getpid()) + "_" + name;
}

// ReadFileWithin on a FIFO nobody writes to. Should the open wait for a writer (the fault this
// guards against), a writer comes and goes after a deadline and `*waited` says so, so that the
// test fails instead of hanging.
bool ReadFifo(const std::string& fifo, std::string* bytes, std::string* error, bool* waited) {
  std::promise<bool> done;
  std::future<bool> read = done.get_future();
  std::thread reader([&] { done.set_value(ReadFileWithin(fifo, 1024, bytes, error)); });
  *waited = read.wait_for(std::chrono::seconds(10)) == std::future_status::timeout;
  if (*waited) {
    const int writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) close(writer);
  }
  reader.join();
  return read.get();
}

// Only regular files are read, and only up to the limit: a device, a FIFO or a directory is
// refused before a byte is read (a FIFO once kept the program waiting for a writer forever, a
// device fed it until the limit); standard input stays allowed and bounded.
TEST(FileIo, RegressionReadsTakeRegularFilesUpToTheLimit) {
  const std::string exact = TempPath("exact");
  std::ofstream(exact, std::ios::binary) << "0123456789";
  const std::string dir = TempPath("dir");
  std::filesystem::create_directory(dir);
  struct Case {
    std::string path;
    size_t limit;
    bool ok;
    const char* error;
  };
  const Case cases[] = {
      {exact, 10, true, ""},
      {exact, 9, false, "larger than 9 bytes"},
      {"/dev/zero", size_t{2} << 20, false, "not a regular file (a device)"},
      {"/dev/null", 0, false, "not a regular file (a device)"},
      {dir, 1024, false, "not a regular file (a directory)"},
      {TempPath("missing"), 1024, false, "No such file or directory"},
  };
  for (const Case& c : cases) {
    std::string bytes = "untouched";
    std::string error;
    EXPECT_EQ(ReadFileWithin(c.path, c.limit, &bytes, &error), c.ok) << c.path;
    EXPECT_EQ(error, c.error) << c.path;
    if (!c.ok) {
      EXPECT_EQ(bytes, "untouched") << c.path;
    }
  }
  std::string bytes = "untouched";
  std::string error;
  const std::string fifo = TempPath("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0) << fifo;
  bool waited = false;
  EXPECT_FALSE(ReadFifo(fifo, &bytes, &error, &waited));
  EXPECT_FALSE(waited) << "opening the FIFO waited for a writer";
  EXPECT_EQ(error, "not a regular file (a FIFO)");
  EXPECT_EQ(bytes, "untouched");
  std::filesystem::remove(fifo);
  std::FILE* zero = std::fopen("/dev/zero", "rb");
  ASSERT_NE(zero, nullptr);
  EXPECT_FALSE(ReadStreamWithin(zero, 1024, &bytes, &error));
  EXPECT_EQ(error, "larger than 1 KiB");
  std::fclose(zero);
  std::filesystem::remove(exact);
  std::filesystem::remove(dir);
}

}  // namespace
}  // namespace formats
