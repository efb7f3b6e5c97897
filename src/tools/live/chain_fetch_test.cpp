#include "live/chain_fetch.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "formats/file_io.h"
#include "live/capture_test_support.h"

namespace live {
namespace {

struct Fetched {
  FetchStatus status;
  ChainBytes chain;
  std::string error;
};

Fetched Fetch(const SymbolConfig& symbol, const std::string& dir, const std::optional<FileStamp>& last = {}) {
  StopSignal stop;
  Fetched f;
  f.status = FetchChain(symbol, dir, last, stop, &f.chain, &f.error);
  return f;
}

SymbolConfig FileSymbol(const std::string& path) { return testing::FileSymbol("QQQ", path); }

// A file is read again only when it changed, by content, by time or by being replaced.
TEST(ChainFetch, AFileIsReadWhenItChanged) {
  testing::TempFolder folder;
  const std::string path = folder.Write("chain.csv", "first");
  const Fetched first = Fetch(FileSymbol(path), folder.path());
  ASSERT_EQ(first.status, FetchStatus::kFetched) << first.error;
  EXPECT_EQ(first.chain.bytes, "first");
  ASSERT_TRUE(first.chain.stamp);

  const Fetched again = Fetch(FileSymbol(path), folder.path(), first.chain.stamp);
  EXPECT_EQ(again.status, FetchStatus::kUnchanged);
  EXPECT_EQ(again.chain.bytes, "") << "nothing read";
  EXPECT_EQ(again.chain.stamp, first.chain.stamp);

  const auto touched = [&] {
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(1));
  };
  const auto replaced = [&] {
    folder.Write("next.csv", "first");
    std::filesystem::rename(folder.Path("next.csv"), path);
  };
  const auto rewritten = [&] { folder.Write("chain.csv", "second, longer"); };
  const struct {
    const char* name;
    std::function<void()> change;
  } changes[] = {{"touched", touched}, {"replaced by a copy", replaced}, {"rewritten", rewritten}};
  std::optional<FileStamp> last = first.chain.stamp;
  for (const auto& c : changes) {
    c.change();
    const Fetched after = Fetch(FileSymbol(path), folder.path(), last);
    EXPECT_EQ(after.status, FetchStatus::kFetched) << c.name;
    EXPECT_NE(after.chain.stamp, last) << c.name;
    last = after.chain.stamp;
  }
}

TEST(ChainFetch, FilesThatCannotBeChains) {
  testing::TempFolder folder;
  ASSERT_EQ(mkfifo(folder.Path("fifo").c_str(), 0600), 0);
  const std::string big = folder.Path("big.json");
  std::filesystem::resize_file(folder.Write("big.json", ""), formats::kMaxChainBytes + 1);  // sparse
  const struct {
    std::string path, error;
  } cases[] = {
      {folder.Path("missing.json"), folder.Path("missing.json") + ": No such file or directory"},
      {folder.Path("fifo"), folder.Path("fifo") + ": not a regular file (a FIFO)"},
      {folder.path(), folder.path() + ": not a regular file (a directory)"},
      {big, big + ": larger than 64 MiB"},
  };
  for (const auto& c : cases) {
    const Fetched f = Fetch(FileSymbol(c.path), folder.path());
    EXPECT_EQ(f.status, FetchStatus::kFailed) << c.path;
    EXPECT_EQ(f.error, c.error);
  }
}

TEST(ChainFetch, ACommandsOutputIsTheChainAndItsErrorsAreHandedOn) {
  testing::TempFolder folder;
  folder.Script("chain.sh", "echo 'fetching QQQ' >&2; printf 'expiration,strike\\n'");
  SymbolConfig s;
  s.name = "QQQ";
  s.chain.kind = ChainSource::Kind::kCommand;
  s.chain.command = {"./chain.sh"};
  s.timeoutSeconds = 5;
  const Fetched f = Fetch(s, folder.path(), FileStamp{1, 2, 3, 4});
  ASSERT_EQ(f.status, FetchStatus::kFetched) << f.error;
  EXPECT_EQ(f.chain.bytes, "expiration,strike\n");
  EXPECT_EQ(f.chain.errorText, "fetching QQQ\n");
  EXPECT_FALSE(f.chain.stamp) << "only files have stamps";
  s.chain.command = {"./missing.sh"};
  EXPECT_EQ(Fetch(s, folder.path()).error, "cannot run ./missing.sh: No such file or directory");
}

TEST(ChainFetch, AUrlIsFetchedWithTheSymbolsTimeout) {
  SymbolConfig s;
  s.name = "QQQ";
  s.chain.kind = ChainSource::Kind::kUrl;
  s.chain.url = "http://127.0.0.1:1/QQQ.json";  // nothing listens on port 1
  s.timeoutSeconds = 2;
  const Fetched f = Fetch(s, "/");
  EXPECT_EQ(f.status, FetchStatus::kFailed);
  EXPECT_FALSE(f.error.empty());
}

}  // namespace
}  // namespace live
