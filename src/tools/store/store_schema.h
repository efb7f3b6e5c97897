// The store's schema and how a database file is recognised as ours: a fixed application id, the
// schema version in user_version, and an ordered list of migrations that bring any older
// version up to date at open.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <span>
#include <string>

namespace store {

// "ORDL": written into the database header so that no other program's file is taken for ours.
inline constexpr int32_t kApplicationId = 0x4F52444C;

// The SQL that takes the schema from `version` - 1 to `version`.
struct Migration {
  int version;
  const char* sql;
};

// A schema: its migrations, versions 1, 2, ... in order, and every table they create.
struct Schema {
  std::span<const Migration> migrations;
  std::span<const char* const> tables;
};

// The capture store's schema.
const Schema& CaptureSchema();

// What the database at `db` is, read without writing anything.
struct SchemaState {
  bool empty = false;  // no schema object and no application id: ours to initialise
  int version = 0;     // user_version
};

// Reads the state of `db` and refuses, with a message, a file that is not a SQLite database, a
// database of another application id, one that holds tables `schema` does not name, or one at a
// version newer than `schema` knows. Writes nothing.
bool CheckSchema(sqlite3* db, const Schema& schema, SchemaState* state, std::string* error);

// Runs the migrations above `from` in one transaction and sets user_version and application_id;
// on any failure rolls back, leaving the database as it was. Requires: CheckSchema passed.
bool MigrateSchema(sqlite3* db, const Schema& schema, int from, std::string* error);

}  // namespace store
