#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "store/sqlite_statement.h"
#include "store/store_schema.h"
#include "store/store_test_support.h"

namespace store {
namespace {

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Runs `sql` on a connection of its own to the database at `path` (rollback journal, so the
// file alone holds what it wrote).
void WriteWithSqlite(const std::string& path, const char* sql) {
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
  Connection db(raw);
  std::string error;
  ASSERT_TRUE(Execute(db.get(), sql, &error)) << error;
}

int64_t PragmaOf(sqlite3* db, const char* pragma) {
  Statement s;
  std::string error;
  bool row = false;
  EXPECT_TRUE(s.Prepare(db, pragma, &error) && s.Step(&row, &error)) << error;
  return row ? s.Int(0) : -1;
}

// Each file is refused with its reason and left byte for byte as it was, with no lock file.
TEST(StoreOpen, FilesThatAreNotOursAreRefusedAndLeftAlone) {
  struct Case {
    const char* name;
    void (*make)(const std::string& path);
    const char* why;
  };
  const Case cases[] = {
      {"text", [](const std::string& p) { std::ofstream(p) << "listen = \"127.0.0.1:8077\"\n"; },
       "it is not a SQLite database"},
      {"foreign",
       [](const std::string& p) {
         WriteWithSqlite(p, "CREATE TABLE notes(body TEXT); INSERT INTO notes VALUES('x');");
       },
       "it holds tables that are not ours: notes"},
      {"foreign id", [](const std::string& p) { WriteWithSqlite(p, "PRAGMA application_id = 1234;"); },
       "it belongs to another program (application id 0x000004D2)"},
      {"foreign version", [](const std::string& p) { WriteWithSqlite(p, "PRAGMA user_version = 3;"); },
       "it is a SQLite database of another program"},
      {"ours, extra table",
       [](const std::string& p) {
         WriteWithSqlite(p,
                         "PRAGMA application_id = 1330791500; PRAGMA user_version = 1; CREATE TABLE "
                         "capture(id); CREATE TABLE extra(x);");
       },
       "it holds tables that are not ours: extra"},
      {"ours, newer",
       [](const std::string& p) {
         WriteWithSqlite(
             p, "PRAGMA application_id = 1330791500; PRAGMA user_version = 2; CREATE TABLE capture(id);");
       },
       "its schema version 2 is newer than this program knows (1)"},
  };
  ASSERT_EQ(kApplicationId, 1330791500);
  for (const Case& c : cases) {
    const std::string path = FreshStorePath("refused");
    c.make(path);
    const std::string before = FileBytes(path);
    std::string error;
    EXPECT_EQ(OpenSqliteStore(path, {}, &error), nullptr) << c.name;
    EXPECT_EQ(error, "cannot open the store " + path + ": " + c.why) << c.name;
    EXPECT_EQ(FileBytes(path), before) << c.name;
    EXPECT_FALSE(std::filesystem::exists(path + ".lock")) << c.name;
    EXPECT_FALSE(std::filesystem::exists(path + "-wal")) << c.name;
  }
}

TEST(StoreOpen, MissingAndEmptyFilesBecomeStores) {
  const std::string missing = FreshStorePath("missing");
  const std::string empty = FreshStorePath("empty");
  std::ofstream(empty).close();
  for (const std::string& path : {missing, empty}) {
    std::unique_ptr<CaptureStore> s = OpenOrFail(path);
    ASSERT_NE(s, nullptr) << path;
    AppendOrFail(*s, SmallCapture("QQQ", 1000, "2025-01-02", 1));
    s.reset();
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
    Connection db(raw);
    EXPECT_EQ(PragmaOf(raw, "PRAGMA application_id"), kApplicationId) << path;
    EXPECT_EQ(PragmaOf(raw, "PRAGMA user_version"), CaptureSchema().migrations.back().version) << path;
    EXPECT_EQ(PragmaOf(raw, "SELECT count(*) FROM capture"), 1) << path;
  }
  const std::string folder = FreshStorePath("folder");
  std::filesystem::create_directory(folder);
  std::string error;
  EXPECT_EQ(OpenSqliteStore(folder, {}, &error), nullptr);
  EXPECT_EQ(error, "cannot open the store " + folder + ": it is not a file");
  const std::string nowhere = testing::TempDir() + "/no-such-folder/levels.sqlite";
  EXPECT_EQ(OpenSqliteStore(nowhere, {}, &error), nullptr);
  EXPECT_EQ(error, "cannot open the store " + nowhere + ": cannot open its lock file " + nowhere +
                       ".lock: No such file or directory");
}

TEST(StoreOpen, OneWriterAtATime) {
  const std::string path = FreshStorePath("writers");
  std::unique_ptr<CaptureStore> first = OpenOrFail(path);
  ASSERT_NE(first, nullptr);
  std::string error;
  EXPECT_EQ(OpenSqliteStore(path, {}, &error), nullptr);
  EXPECT_EQ(error, "cannot open the store " + path + ": another process already writes to it (it holds " +
                       path + ".lock)");
  EXPECT_TRUE(std::filesystem::exists(path + ".lock")) << "the refused opener keeps the holder's lock file";
  AppendOrFail(*first, SmallCapture("QQQ", 1000, "2025-01-02", 1));
  first.reset();
  std::unique_ptr<CaptureStore> second = OpenOrFail(path);
  ASSERT_NE(second, nullptr);
  std::vector<std::string> symbols;
  EXPECT_TRUE(second->Symbols(&symbols, &error)) << error;
  EXPECT_EQ(symbols, std::vector<std::string>{"QQQ"});
}

// A schema of two versions: opened at the first, then at both, keeps its rows and gains the
// second's; a failing migration leaves the version and the tables as they were.
TEST(StoreOpen, MigrationsRunInOrderFromTheStoredVersion) {
  const Migration two[] = {{1, "CREATE TABLE t(a INTEGER); INSERT INTO t VALUES(7);"},
                           {2, "ALTER TABLE t ADD COLUMN b TEXT DEFAULT 'x'; CREATE TABLE u(c);"}};
  const Migration broken[] = {two[0], {2, "CREATE TABLE u(c); CREATE TABLE u(c);"}};
  const char* const tables[] = {"t", "u"};
  const std::string path = FreshStorePath("migrations");
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
  Connection db(raw);
  std::string error;
  SchemaState state;
  const Schema v1{std::span<const Migration>(two, 1), tables};
  ASSERT_TRUE(CheckSchema(raw, v1, &state, &error)) << error;
  EXPECT_TRUE(state.empty);
  ASSERT_TRUE(MigrateSchema(raw, v1, state.version, &error)) << error;
  EXPECT_EQ(PragmaOf(raw, "PRAGMA user_version"), 1);

  const Schema bad{broken, tables};
  ASSERT_TRUE(CheckSchema(raw, bad, &state, &error)) << error;
  EXPECT_FALSE(state.empty);
  EXPECT_EQ(state.version, 1);
  EXPECT_FALSE(MigrateSchema(raw, bad, state.version, &error));
  EXPECT_EQ(error, "migration to version 2 failed: table u already exists");
  EXPECT_EQ(PragmaOf(raw, "PRAGMA user_version"), 1);
  EXPECT_EQ(PragmaOf(raw, "SELECT count(*) FROM sqlite_schema WHERE name = 'u'"), 0);

  const Schema v2{two, tables};
  ASSERT_TRUE(CheckSchema(raw, v2, &state, &error)) << error;
  ASSERT_TRUE(MigrateSchema(raw, v2, state.version, &error)) << error;
  EXPECT_EQ(PragmaOf(raw, "PRAGMA user_version"), 2);
  EXPECT_EQ(PragmaOf(raw, "SELECT a FROM t WHERE b = 'x'"), 7);
  EXPECT_EQ(PragmaOf(raw, "PRAGMA application_id"), kApplicationId);
  EXPECT_FALSE(CheckSchema(raw, v1, &state, &error));
  EXPECT_EQ(error, "its schema version 2 is newer than this program knows (1)");
}

}  // namespace
}  // namespace store
