#include "formats/file_replacement.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace formats {
namespace {

namespace fs = std::filesystem;

// A fresh, empty directory for one test.
std::string FreshDir(const std::string& name) {
  const std::string dir = testing::TempDir() + "/file_replacement_" + std::to_string(getpid()) + "_" + name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

std::string Slurp(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

void Put(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Temporaries and backups a write left in `dir`.
int Leftovers(const std::string& dir) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(dir)) count += entry.path().extension() == ".tmp";
  return count;
}

unsigned ModeOf(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

TEST(FileReplacement, ReplaceFileWritesWholeFilesOrNothing) {
  const std::string dir = FreshDir("whole");
  const std::string path = dir + "/file";
  std::string error;
  ASSERT_TRUE(ReplaceFile(path, "first", &error)) << error;
  ASSERT_TRUE(ReplaceFile(path, "second, longer", &error)) << error;
  EXPECT_EQ(Slurp(path), "second, longer");

  const std::string sub = dir + "/sub";
  fs::create_directory(sub);
  EXPECT_FALSE(ReplaceFile(sub, "over a directory", &error));
  EXPECT_NE(error.find("cannot write '" + sub + "'"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_directory(sub));
  EXPECT_FALSE(ReplaceFile(dir + "/no_dir/x", "nowhere", &error));
  EXPECT_EQ(Leftovers(dir), 0);
}

// A 0600 chart file came back 0644: the new file took the umask's mode, not the old file's.
TEST(FileReplacement, RegressionTheNewFileKeepsTheOldPermissionBits) {
  const std::string dir = FreshDir("mode");
  for (const unsigned mode : {0600u, 0640u, 0755u, 0444u}) {
    const std::string path = dir + "/file";
    fs::remove(path);
    Put(path, "old");
    ASSERT_EQ(chmod(path.c_str(), mode), 0);
    std::string error;
    ASSERT_TRUE(ReplaceFile(path, "new", &error)) << std::oct << mode << ": " << error;
    EXPECT_EQ(ModeOf(path), mode) << std::oct << mode;
    EXPECT_EQ(Slurp(path), "new") << std::oct << mode;
  }
  // A file that was not there takes the process's usual mode.
  const mode_t mask = umask(022);
  umask(mask);
  std::string error;
  ASSERT_TRUE(ReplaceFile(dir + "/fresh", "new", &error)) << error;
  EXPECT_EQ(ModeOf(dir + "/fresh"), 0666u & ~mask);
}

// A chart file kept as a symbolic link into a dotfiles folder was replaced by a plain file.
TEST(FileReplacement, RegressionWritesThroughSymbolicLinks) {
  const std::string dir = FreshDir("links");
  fs::create_directory(dir + "/real");
  Put(dir + "/real/target", "old");
  fs::create_symlink("real/target", dir + "/relative");
  fs::create_symlink(dir + "/relative", dir + "/chain");  // a link to a link
  for (const std::string link : {"relative", "chain"}) {
    std::string error;
    ASSERT_TRUE(ReplaceFile(dir + "/" + link, "through " + link, &error)) << link << ": " << error;
    EXPECT_TRUE(fs::is_symlink(dir + "/" + link)) << link;
    EXPECT_EQ(Slurp(dir + "/real/target"), "through " + link) << link;
  }
  EXPECT_EQ(Leftovers(dir), 0);
  EXPECT_EQ(Leftovers(dir + "/real"), 0);
}

TEST(FileReplacement, LinksThatLeadNowhereAreRefusedByName) {
  const std::string dir = FreshDir("bad_links");
  fs::create_symlink("missing", dir + "/dangling");
  fs::create_symlink("loop_b", dir + "/loop_a");
  fs::create_symlink("loop_a", dir + "/loop_b");
  const struct {
    const char* name;
    const char* reason;
  } cases[] = {
      {"dangling", "it is a symbolic link to 'missing', which does not exist"},
      {"loop_a", "its symbolic links form a loop"},
  };
  for (const auto& c : cases) {
    const std::string path = dir + "/" + c.name;
    std::string error;
    EXPECT_FALSE(ReplaceFile(path, "bytes", &error)) << c.name;
    EXPECT_EQ(error, "cannot write '" + path + "': " + c.reason) << c.name;
    EXPECT_TRUE(fs::is_symlink(path)) << c.name;
  }
  EXPECT_FALSE(fs::exists(dir + "/missing"));
  EXPECT_EQ(Leftovers(dir), 0);
}

// With the SVG's name taken by a directory, the PNG was already replaced when the SVG failed.
TEST(FileReplacement, RegressionAFailedSecondRenamePutsTheFirstBack) {
  const std::string dir = FreshDir("pair");
  const std::string first = dir + "/pic.png";
  const std::string second = dir + "/pic.svg";
  fs::create_directory(second);
  for (const bool firstExisted : {true, false}) {
    fs::remove(first);
    if (firstExisted) Put(first, "old picture");
    FileReplacement files;
    std::string error;
    ASSERT_TRUE(files.Stage(first, "new picture", &error)) << error;
    ASSERT_TRUE(files.Stage(second, "new drawing", &error)) << error;
    EXPECT_FALSE(files.Commit(&error)) << firstExisted;
    EXPECT_NE(error.find("cannot write '" + second + "'"), std::string::npos) << error;
    EXPECT_EQ(fs::exists(first), firstExisted);
    if (firstExisted) {
      EXPECT_EQ(Slurp(first), "old picture");
    }
  }
  EXPECT_TRUE(fs::is_directory(second));
  EXPECT_EQ(Leftovers(dir), 0);

  fs::remove(second);
  Put(first, "old picture");
  Put(second, "old drawing");
  FileReplacement files;
  std::string error;
  ASSERT_TRUE(files.Stage(first, "new picture", &error) && files.Stage(second, "new drawing", &error) &&
              files.Commit(&error))
      << error;
  EXPECT_EQ(Slurp(first), "new picture");
  EXPECT_EQ(Slurp(second), "new drawing");
  EXPECT_EQ(Leftovers(dir), 0) << "the first file's backup is gone once both are in place";
}

// Ctrl-C during a write killed the program with the temporary still beside the picture. Now a
// stop signal waits for the write to end, then takes effect as it would have.
TEST(FileReplacement, RegressionAStopSignalWaitsUntilNoTemporaryIsLeft) {
  const struct {
    int signal;
    bool commit;
  } cases[] = {{SIGINT, true}, {SIGINT, false}, {SIGTERM, true}};
  for (const auto& c : cases) {
    const std::string tag = std::to_string(c.signal) + (c.commit ? " committed" : " abandoned");
    const std::string dir = FreshDir("signal");
    Put(dir + "/a", "old a");
    Put(dir + "/b", "old b");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      {
        FileReplacement files;
        std::string error;
        files.Stage(dir + "/a", "new a", &error);
        std::raise(c.signal);  // arrives between the two temporaries
        files.Stage(dir + "/b", "new b", &error);
        if (c.commit) files.Commit(&error);
      }
      _exit(0);  // not reached: the signal is taken when the files are settled
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << tag << ": status " << status;
    EXPECT_EQ(Slurp(dir + "/a"), c.commit ? "new a" : "old a") << tag;
    EXPECT_EQ(Slurp(dir + "/b"), c.commit ? "new b" : "old b") << tag;
    EXPECT_EQ(Leftovers(dir), 0) << tag;
  }
}

}  // namespace
}  // namespace formats
