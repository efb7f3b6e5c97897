// Durability: WAL with synchronous=NORMAL. Each capture is one transaction, and a commit is in
// the WAL file before Append returns, so a process killed at any moment (kill -9 included)
// loses at most the capture it was writing; the next open rolls that one back. Only a power
// loss may also take the last commits, never the file's consistency.
#include "store/sqlite_capture_store.h"

#include <sys/stat.h>

#include <exception>
#include <mutex>

#include "store/capture_blob.h"
#include "store/capture_sql.h"
#include "store/sqlite_statement.h"
#include "store/store_schema.h"
#include "store/writer_lock.h"
#include "text/fail.h"
#include "text/format.h"

namespace store {
namespace {

// The positions of `limit` of `count` items spread evenly, the first and the last included;
// the last alone when `limit` is 1.
std::vector<size_t> EvenlySpread(size_t count, size_t limit) {
  std::vector<size_t> picks;
  if (count <= limit) {
    for (size_t i = 0; i < count; ++i) picks.push_back(i);
  } else if (limit == 1) {
    picks.push_back(count - 1);
  } else {
    for (size_t i = 0; i < limit; ++i) picks.push_back(i * (count - 1) / (limit - 1));
  }
  return picks;
}

// Runs `body`, turning an exception (memory running out on a huge read) into a failure.
template <typename Body>
bool Guarded(std::string* error, Body&& body) {
  try {
    return body();
  } catch (const std::exception& e) {
    return text::Fail(error, std::string("store operation failed: ") + e.what());
  } catch (...) {
    return text::Fail(error, "store operation failed");
  }
}

class SqliteCaptureStore : public CaptureStore {
 public:
  explicit SqliteCaptureStore(SqliteStoreOptions options) : options_(std::move(options)) {}

  // Takes the writer lock, then opens, checks, migrates and prepares; on failure the lock goes
  // (with its file when this call made it) and the database file is as it was.
  bool Open(const std::string& path, std::string* error) {
    std::string why;
    if (!lock_.Acquire(path, &why) || !OpenDatabase(path, &why) || !PrepareAll(&why)) {
      Close();
      return text::Fail(error, "cannot open the store " + path + ": " + why);
    }
    return true;
  }

  bool Append(const CaptureRecord& capture, int64_t* id, std::string* error) override {
    return Guarded(error, [&] {
      std::string why, contracts, exposures;
      if (!CheckSummary(capture.summary, &why) || !PackContracts(capture.contracts, &contracts, &why) ||
          !PackExposures(capture.exposures, &exposures, &why)) {
        return text::Fail(error, "cannot store the capture: " + why);
      }
      std::lock_guard<std::mutex> lock(mutex_);
      if (!begin_.Run(&why)) return text::Fail(error, "cannot store the capture: " + why);
      int64_t newId = 0;
      bool ok = false;
      try {
        ok = InsertLocked(capture, contracts, exposures, &newId, &why) && commit_.Run(&why);
      } catch (const std::exception& e) {
        why = e.what();
      } catch (...) {
        why = "interrupted";
      }
      begin_.Reset();
      commit_.Reset();
      if (!ok) {
        RollbackLocked();
        return text::Fail(error, "cannot store the capture: " + why);
      }
      *id = newId;
      return true;
    });
  }

  bool Latest(std::string_view symbol, std::optional<CaptureRecord>* out, std::string* error) override {
    return ReadOne(
        latest_, [&] { latest_.Bind(1, symbol); }, out, error);
  }

  bool LatestDigest(std::string_view symbol, std::optional<std::string>* out, std::string* error) override {
    return Guarded(error, [&] {
      std::lock_guard<std::mutex> lock(mutex_);
      StatementReset reset(latestDigest_);
      bool row = false;
      if (!latestDigest_.Bind(1, symbol).Step(&row, error)) return false;
      *out = row ? std::optional<std::string>(latestDigest_.Text(0)) : std::nullopt;
      return true;
    });
  }

  bool DaySummaries(std::string_view symbol, std::string_view day, std::vector<CaptureSummary>* out,
                    std::string* error) override {
    return Guarded(error, [&] {
      std::lock_guard<std::mutex> lock(mutex_);
      StatementReset reset(day_);
      day_.Bind(1, symbol).Bind(2, day);
      std::vector<CaptureSummary> rows;
      for (bool row = true;;) {
        if (!day_.Step(&row, error)) return false;
        if (!row) break;
        rows.push_back(ReadSummary(day_));
      }
      *out = std::move(rows);
      return true;
    });
  }

  bool DayExposures(std::string_view symbol, std::string_view day, size_t limit,
                    std::vector<CaptureExposures>* out, std::string* error) override {
    return Guarded(error, [&] {
      std::lock_guard<std::mutex> lock(mutex_);
      std::vector<std::pair<int64_t, int64_t>> all;  // id, as_of
      if (!DayIdsLocked(symbol, day, &all, error)) return false;
      std::vector<CaptureExposures> picked;
      for (const size_t i : EvenlySpread(all.size(), limit)) {
        CaptureExposures c{all[i].first, all[i].second, {}};
        if (!ExposuresLocked(c.id, &c.exposures, error)) return false;
        picked.push_back(std::move(c));
      }
      *out = std::move(picked);
      return true;
    });
  }

  bool ById(int64_t id, std::optional<CaptureRecord>* out, std::string* error) override {
    return ReadOne(
        byId_, [&] { byId_.Bind(1, id); }, out, error);
  }

  bool FirstAtOrAfter(std::string_view symbol, int64_t time, std::optional<CaptureRecord>* out,
                      std::string* error) override {
    return ReadOne(
        firstAtOrAfter_, [&] { firstAtOrAfter_.Bind(1, symbol).Bind(2, time); }, out, error);
  }

  bool LastBefore(std::string_view symbol, int64_t time, std::optional<CaptureRecord>* out,
                  std::string* error) override {
    return ReadOne(
        lastBefore_, [&] { lastBefore_.Bind(1, symbol).Bind(2, time); }, out, error);
  }

  bool PruneFetchedBefore(int64_t time, size_t* removed, std::string* error) override {
    return Guarded(error, [&] {
      std::lock_guard<std::mutex> lock(mutex_);
      std::string why;
      if (!begin_.Run(&why)) return text::Fail(error, "cannot prune the store: " + why);
      begin_.Reset();
      StatementReset resetData(pruneData_), resetSummaries(prune_), resetCommit(commit_);
      const bool ok = pruneData_.Bind(1, time).Run(&why) && prune_.Bind(1, time).Run(&why);
      const int64_t changes = sqlite3_changes64(db_.get());
      if (!ok || !commit_.Run(&why)) {
        RollbackLocked();
        return text::Fail(error, "cannot prune the store: " + why);
      }
      *removed = static_cast<size_t>(changes);
      return true;
    });
  }

  bool Symbols(std::vector<std::string>* out, std::string* error) override {
    return Guarded(error, [&] {
      std::lock_guard<std::mutex> lock(mutex_);
      StatementReset reset(symbols_);
      std::vector<std::string> names;
      for (bool row = true;;) {
        if (!symbols_.Step(&row, error)) return false;
        if (!row) break;
        names.push_back(symbols_.Text(0));
      }
      *out = std::move(names);
      return true;
    });
  }

 private:
  // The statements, then the connection, then the lock (with its file when Open made it).
  void Close() {
    for (Statement* s :
         {&begin_, &commit_, &rollback_, &insertSummary_, &insertData_, &latest_, &byId_, &firstAtOrAfter_,
          &lastBefore_, &day_, &latestDigest_, &dayIds_, &exposures_, &pruneData_, &prune_, &symbols_}) {
      *s = Statement();
    }
    db_.reset();
    lock_.Abandon();
  }

  bool OpenDatabase(const std::string& path, std::string* why) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return text::Fail(why, "it is not a file");
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    db_.reset(raw);
    if (rc != SQLITE_OK) return text::Fail(why, SqliteError(raw, "SQLite cannot open it"));
    sqlite3_busy_timeout(raw, options_.busyTimeoutMs);
    SchemaState state;
    // Nothing is written before the file is known to be ours: not even the journal mode,
    // which SQLite keeps in the file's header.
    if (!CheckSchema(raw, CaptureSchema(), &state, why)) return false;
    return UseWal(raw, why) && Execute(raw, "PRAGMA synchronous = NORMAL", why) &&
           MigrateSchema(raw, CaptureSchema(), state.version, why);
  }

  static bool UseWal(sqlite3* db, std::string* why) {
    Statement mode;
    bool row = false;
    if (!mode.Prepare(db, "PRAGMA journal_mode = WAL", why) || !mode.Step(&row, why)) return false;
    return (row && mode.Text(0) == "wal") || text::Fail(why, "SQLite cannot keep it in WAL mode");
  }

  bool PrepareAll(std::string* error) {
    const CaptureQueries& q = Queries();
    sqlite3* db = db_.get();
    return begin_.Prepare(db, "BEGIN IMMEDIATE", error) && commit_.Prepare(db, "COMMIT", error) &&
           rollback_.Prepare(db, "ROLLBACK", error) &&
           insertSummary_.Prepare(db, q.insertSummary.c_str(), error) &&
           insertData_.Prepare(db, q.insertData.c_str(), error) &&
           latest_.Prepare(db, q.latest.c_str(), error) && byId_.Prepare(db, q.byId.c_str(), error) &&
           firstAtOrAfter_.Prepare(db, q.firstAtOrAfter.c_str(), error) &&
           lastBefore_.Prepare(db, q.lastBefore.c_str(), error) && day_.Prepare(db, q.day.c_str(), error) &&
           latestDigest_.Prepare(db, q.latestDigest.c_str(), error) &&
           dayIds_.Prepare(db, q.dayIds.c_str(), error) &&
           exposures_.Prepare(db, q.exposures.c_str(), error) &&
           pruneData_.Prepare(db, q.pruneData.c_str(), error) && prune_.Prepare(db, q.prune.c_str(), error) &&
           symbols_.Prepare(db, q.symbols.c_str(), error);
  }

  bool InsertLocked(const CaptureRecord& capture, const std::string& contracts, const std::string& exposures,
                    int64_t* id, std::string* why) {
    StatementReset resetSummary(insertSummary_), resetData(insertData_);
    BindSummary(insertSummary_, capture.summary, static_cast<int64_t>(capture.contracts.size()));
    if (!insertSummary_.Run(why)) return false;
    *id = sqlite3_last_insert_rowid(db_.get());
    if (options_.midCaptureHook) options_.midCaptureHook();
    return insertData_.Bind(1, *id).BindBlob(2, contracts).BindBlob(3, exposures).Run(why);
  }

  void RollbackLocked() {
    // A failed statement may already have ended the transaction (a full disk, for one).
    if (sqlite3_get_autocommit(db_.get()) == 0) {
      std::string ignored;
      rollback_.Run(&ignored);
    }
    rollback_.Reset();
  }

  // Binds `s` with `bind`, steps it once and reads the whole capture of its row.
  template <typename Bind>
  bool ReadOne(Statement& s, Bind bind, std::optional<CaptureRecord>* out, std::string* error) {
    return Guarded(error, [&] {
      std::lock_guard<std::mutex> lock(mutex_);
      StatementReset reset(s);
      bind();
      bool row = false;
      if (!s.Step(&row, error)) return false;
      if (!row) {
        out->reset();
        return true;
      }
      CaptureRecord r;
      r.summary = ReadSummary(s);
      std::string why;
      if (!UnpackContracts(s.Blob(29), &r.contracts, &why) ||
          !UnpackExposures(s.Blob(30), &r.exposures, &why)) {
        return text::Fail(error, text::Format("capture %d: %s", static_cast<long long>(r.summary.id), why));
      }
      *out = std::move(r);
      return true;
    });
  }

  bool DayIdsLocked(std::string_view symbol, std::string_view day,
                    std::vector<std::pair<int64_t, int64_t>>* out, std::string* error) {
    StatementReset reset(dayIds_);
    dayIds_.Bind(1, symbol).Bind(2, day);
    for (bool row = true;;) {
      if (!dayIds_.Step(&row, error)) return false;
      if (!row) return true;
      out->emplace_back(dayIds_.Int(0), dayIds_.Int(1));
    }
  }

  bool ExposuresLocked(int64_t id, std::vector<StrikeExposure>* out, std::string* error) {
    StatementReset reset(exposures_);
    bool row = false;
    if (!exposures_.Bind(1, id).Step(&row, error)) return false;
    std::string why;
    if (row && UnpackExposures(exposures_.Blob(0), out, &why)) return true;
    if (!row) why = "its exposures are missing";
    return text::Fail(error, text::Format("capture %d: %s", static_cast<long long>(id), why));
  }

  SqliteStoreOptions options_;
  WriterLock lock_;  // released after the connection is closed
  Connection db_;
  std::mutex mutex_;  // one statement at a time on the one connection
  Statement begin_, commit_, rollback_, insertSummary_, insertData_, latest_, byId_, firstAtOrAfter_,
      lastBefore_, day_, latestDigest_, dayIds_, exposures_, pruneData_, prune_, symbols_;
};

}  // namespace

std::unique_ptr<CaptureStore> OpenSqliteStore(const std::string& path, SqliteStoreOptions options,
                                              std::string* error) {
  std::unique_ptr<SqliteCaptureStore> store;
  const bool ok = Guarded(error, [&] {
    store = std::make_unique<SqliteCaptureStore>(std::move(options));
    return store->Open(path, error);
  });
  if (!ok) return nullptr;
  return store;
}

}  // namespace store
