// A capture interrupted between its summary row and its commit, by an exception or by the
// process being killed there, leaves no trace; every capture committed before it survives.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>

#include <stdexcept>

#include "store/sqlite_statement.h"
#include "store/store_test_support.h"

namespace store {
namespace {

// How many rows each table of the store at `path` holds, read on a connection of its own.
std::pair<int64_t, int64_t> RowCounts(const std::string& path) {
  sqlite3* raw = nullptr;
  EXPECT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
  Connection db(raw);
  Statement s;
  std::string error;
  bool row = false;
  EXPECT_TRUE(
      s.Prepare(raw, "SELECT (SELECT count(*) FROM capture), (SELECT count(*) FROM capture_data)", &error) &&
      s.Step(&row, &error))
      << error;
  return {s.Int(0), s.Int(1)};
}

std::vector<int64_t> DayIds(CaptureStore& s) {
  std::vector<CaptureSummary> rows;
  std::string error;
  EXPECT_TRUE(s.DaySummaries("QQQ", "2025-01-02", &rows, &error)) << error;
  std::vector<int64_t> ids;
  for (const CaptureSummary& r : rows) ids.push_back(r.id);
  return ids;
}

TEST(StoreCrash, AThrowMidCaptureRollsItBack) {
  const std::string path = FreshStorePath("throw");
  bool armed = false;
  SqliteStoreOptions options;
  options.midCaptureHook = [&armed] {
    if (armed) throw std::runtime_error("stopped mid-capture");
  };
  {
    std::unique_ptr<CaptureStore> s = OpenOrFail(path, options);
    ASSERT_NE(s, nullptr);
    AppendOrFail(*s, SmallCapture("QQQ", 100, "2025-01-02", 1));
    armed = true;
    int64_t id = -1;
    std::string error;
    EXPECT_FALSE(s->Append(SmallCapture("QQQ", 200, "2025-01-02", 2), &id, &error));
    EXPECT_EQ(error, "cannot store the capture: stopped mid-capture");
    EXPECT_EQ(id, -1);
    EXPECT_EQ(DayIds(*s), std::vector<int64_t>{1});
    armed = false;
    EXPECT_EQ(AppendOrFail(*s, SmallCapture("QQQ", 300, "2025-01-02", 3)), 2) << "the store goes on";
  }
  EXPECT_EQ(RowCounts(path), std::make_pair(int64_t{2}, int64_t{2}));
}

// The child process opens the store, appends one capture and is killed by SIGKILL inside the
// next one; the parent then reopens the store for writing (the lock died with the child).
TEST(StoreCrash, AKillMidCaptureLosesOnlyThatCapture) {
  const std::string path = FreshStorePath("kill");
  {
    std::unique_ptr<CaptureStore> s = OpenOrFail(path);
    ASSERT_NE(s, nullptr);
    AppendOrFail(*s, SmallCapture("QQQ", 100, "2025-01-02", 1));
  }
  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(
      {
        std::string error;
        bool armed = false;
        SqliteStoreOptions options;
        options.midCaptureHook = [&armed] {
          if (armed) raise(SIGKILL);
        };
        std::unique_ptr<CaptureStore> s = OpenSqliteStore(path, options, &error);
        int64_t id = 0;
        if (s == nullptr || !s->Append(SmallCapture("QQQ", 200, "2025-01-02", 2), &id, &error)) _exit(3);
        armed = true;
        s->Append(SmallCapture("QQQ", 300, "2025-01-02", 3), &id, &error);
        _exit(4);
      },
      testing::KilledBySignal(SIGKILL), "");
  std::unique_ptr<CaptureStore> s = OpenOrFail(path);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(DayIds(*s), (std::vector<int64_t>{1, 2}));
  std::optional<CaptureRecord> latest;
  std::string error;
  ASSERT_TRUE(s->Latest("QQQ", &latest, &error)) << error;
  ASSERT_TRUE(latest.has_value());
  EXPECT_EQ(latest->summary.asOf, 200);
  EXPECT_EQ(latest->contracts.size(), 2u);
  EXPECT_EQ(AppendOrFail(*s, SmallCapture("QQQ", 300, "2025-01-02", 3)), 3);
  s.reset();
  EXPECT_EQ(RowCounts(path), std::make_pair(int64_t{3}, int64_t{3}));
}

}  // namespace
}  // namespace store
