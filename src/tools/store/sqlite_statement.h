// Thin owners of the SQLite handles the store uses: the connection, prepared statements with
// typed binding and reading, and one-shot SQL, every failure as a message instead of a code.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace store {

struct ConnectionCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;

// "<what>: <SQLite's message for db>".
std::string SqliteError(sqlite3* db, std::string_view what);

// Runs `sql` (one or more statements, no results read). False with SQLite's message.
bool Execute(sqlite3* db, const char* sql, std::string* error);

// One prepared statement, finalized on destruction. Bindings are 1-based, columns 0-based.
class Statement {
 public:
  // Compiles `sql` on `db`. False with SQLite's message.
  bool Prepare(sqlite3* db, const char* sql, std::string* error);

  Statement& Bind(int index, int64_t value);
  Statement& Bind(int index, double value);
  Statement& Bind(int index, std::string_view value);
  Statement& Bind(int index, const std::optional<double>& value);  // NULL when empty
  Statement& BindBlob(int index, std::string_view bytes);

  // Advances: true with *row set when a row is ready or the statement is done, false with
  // SQLite's message (a failed binding included).
  bool Step(bool* row, std::string* error);
  // Steps to completion, expecting no row.
  bool Run(std::string* error);
  // Makes the statement ready to bind and run again.
  void Reset();

  int64_t Int(int column) const;
  double Real(int column) const;
  std::string Text(int column) const;
  std::optional<double> OptionalReal(int column) const;  // empty for NULL
  std::string_view Blob(int column) const;               // valid until the next Step or Reset

 private:
  struct Finalizer {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
  };
  std::unique_ptr<sqlite3_stmt, Finalizer> stmt_;
  sqlite3* db_ = nullptr;
  int bindStatus_ = SQLITE_OK;
};

// Resets a statement when the scope ends, whatever path leaves it.
class StatementReset {
 public:
  explicit StatementReset(Statement& s) : s_(s) {}
  ~StatementReset() { s_.Reset(); }
  StatementReset(const StatementReset&) = delete;
  StatementReset& operator=(const StatementReset&) = delete;

 private:
  Statement& s_;
};

}  // namespace store
