#include "store/store_schema.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "store/sqlite_statement.h"
#include "text/fail.h"
#include "text/format.h"

namespace store {
namespace {

// Version 1. A capture's summary columns are what the history and the levels read; its packed
// contracts and exposures live in capture_data so that reading a day's summaries does not page
// through the blobs. AUTOINCREMENT keeps an id from ever being given twice, even after pruning
// the newest captures.
constexpr const char* kCaptureTables = R"sql(
CREATE TABLE capture (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  symbol TEXT NOT NULL,
  fetched_at INTEGER NOT NULL,
  as_of INTEGER NOT NULL,
  session_date TEXT NOT NULL,
  source TEXT NOT NULL,
  engine TEXT NOT NULL,
  conversion_method TEXT NOT NULL,
  conversion_ratio REAL NOT NULL,
  scope TEXT NOT NULL,
  selected_expiration TEXT NOT NULL,
  source_snapshot_time TEXT NOT NULL,
  regime TEXT NOT NULL,
  spot REAL NOT NULL,
  rate REAL NOT NULL,
  dividend REAL NOT NULL,
  call_wall REAL, put_wall REAL, gamma_flip REAL, vol_trigger REAL, max_pain REAL,
  zero_gamma REAL, zero_dex REAL, call_oi_wall REAL, put_oi_wall REAL,
  net_gex REAL NOT NULL,
  net_dex REAL NOT NULL,
  chain_digest TEXT NOT NULL,
  contract_count INTEGER NOT NULL
);
CREATE INDEX capture_by_day ON capture(symbol, session_date, as_of, id);
CREATE INDEX capture_by_time ON capture(symbol, as_of, id);
CREATE INDEX capture_by_fetch ON capture(fetched_at);
CREATE TABLE capture_data (
  capture_id INTEGER PRIMARY KEY,
  contracts BLOB NOT NULL,
  exposures BLOB NOT NULL
);
)sql";

constexpr Migration kMigrations[] = {{1, kCaptureTables}};
constexpr const char* kTables[] = {"capture", "capture_data"};

bool ReadInt(sqlite3* db, const char* sql, int64_t* out, std::string* error) {
  Statement s;
  bool row = false;
  if (!s.Prepare(db, sql, error) || !s.Step(&row, error)) return false;
  *out = row ? s.Int(0) : 0;
  return true;
}

// The tables of `db` that `schema` does not name; SQLite's own (sqlite_sequence) excepted.
bool ForeignTables(sqlite3* db, const Schema& schema, std::vector<std::string>* foreign, int64_t* objects,
                   std::string* error) {
  Statement s;
  if (!s.Prepare(db, "SELECT type, name FROM sqlite_schema", error)) return false;
  *objects = 0;
  for (;;) {
    bool row = false;
    if (!s.Step(&row, error)) return false;
    if (!row) return true;
    ++*objects;
    const std::string name = s.Text(1);
    if (s.Text(0) != "table" || name.starts_with("sqlite_")) continue;
    const bool ours =
        std::any_of(schema.tables.begin(), schema.tables.end(), [&](const char* t) { return name == t; });
    if (!ours) foreign->push_back(name);
  }
}

std::string Joined(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& n : names) out += (out.empty() ? "" : ", ") + n;
  return out;
}

}  // namespace

const Schema& CaptureSchema() {
  static const Schema schema{kMigrations, kTables};
  return schema;
}

bool CheckSchema(sqlite3* db, const Schema& schema, SchemaState* state, std::string* error) {
  int64_t applicationId = 0, version = 0, objects = 0;
  std::vector<std::string> foreign;
  std::string why;
  if (!ReadInt(db, "PRAGMA application_id", &applicationId, &why) ||
      !ReadInt(db, "PRAGMA user_version", &version, &why) ||
      !ForeignTables(db, schema, &foreign, &objects, &why)) {
    if (sqlite3_errcode(db) == SQLITE_NOTADB) return text::Fail(error, "it is not a SQLite database");
    return text::Fail(error, why);
  }
  if (applicationId != 0 && applicationId != kApplicationId) {
    return text::Fail(error, text::Format("it belongs to another program (application id 0x%08X)",
                                          static_cast<unsigned>(applicationId)));
  }
  if (!foreign.empty()) return text::Fail(error, "it holds tables that are not ours: " + Joined(foreign));
  if (applicationId == 0 && (objects != 0 || version != 0)) {
    return text::Fail(error, "it is a SQLite database of another program");
  }
  const int latest = schema.migrations.empty() ? 0 : schema.migrations.back().version;
  if (version > latest) {
    return text::Fail(error, text::Format("its schema version %d is newer than this program knows (%d)",
                                          static_cast<long long>(version), static_cast<long long>(latest)));
  }
  state->empty = applicationId == 0;
  state->version = static_cast<int>(version);
  return true;
}

bool MigrateSchema(sqlite3* db, const Schema& schema, int from, std::string* error) {
  const int latest = schema.migrations.empty() ? 0 : schema.migrations.back().version;
  if (from == latest) return true;
  std::string why;
  if (!Execute(db, "BEGIN IMMEDIATE", &why)) return text::Fail(error, "cannot migrate the schema: " + why);
  bool ok = true;
  for (const Migration& m : schema.migrations) {
    if (m.version <= from) continue;
    if (!Execute(db, m.sql, &why)) {
      why = text::Format("migration to version %d failed: %s", static_cast<long long>(m.version), why);
      ok = false;
      break;
    }
  }
  const std::string stamp =
      text::Format("PRAGMA user_version = %d; PRAGMA application_id = %d;", static_cast<long long>(latest),
                   static_cast<long long>(kApplicationId));
  if (ok && !Execute(db, stamp.c_str(), &why)) ok = false;
  if (ok && !Execute(db, "COMMIT", &why)) ok = false;
  if (ok) return true;
  std::string ignored;
  Execute(db, "ROLLBACK", &ignored);
  return text::Fail(error, why);
}

}  // namespace store
