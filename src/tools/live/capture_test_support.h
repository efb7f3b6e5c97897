// What the capture side's tests share: a folder of their own for files, scripts and stores, the
// sample chains, and a check that no child process is left unreaped.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include "formats/file_io.h"
#include "live/live_config.h"

namespace live::testing {

// A fresh folder under the test's temporary folder, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    path_ = ::testing::TempDir() + "/live_" + std::to_string(getpid()) + "_" + std::to_string(counter++);
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string Path(const std::string& name) const { return path_ + "/" + name; }

  // Writes `bytes` to `name` in the folder (replacing it) and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary | std::ios::trunc) << bytes;
    return Path(name);
  }

  // Writes a shell script `name` that runs `body` and makes it executable; returns its path.
  std::string Script(const std::string& name, const std::string& body) const {
    const std::string path = Write(name, "#!/bin/sh\n" + body + "\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    return path;
  }

 private:
  std::string path_;
};

// The bytes of a file under data/ ("chains/qqq_chain.json").
inline std::string DataFile(const std::string& relative) {
  std::string bytes, error;
  EXPECT_TRUE(formats::ReadFileWithin(std::string(ORDINEL_DATA) + "/" + relative, formats::kMaxChainBytes,
                                      &bytes, &error))
      << relative << ": " << error;
  return bytes;
}

// A symbol `name` whose chain is read from the file at `path`.
inline SymbolConfig FileSymbol(const std::string& name, const std::string& path) {
  SymbolConfig s;
  s.name = name;
  s.chain.kind = ChainSource::Kind::kFile;
  s.chain.path = path;
  return s;
}

// True when this process has no child left, running or unreaped.
inline bool NoChildLeft() { return waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD; }

}  // namespace live::testing
