#include "store/sqlite_statement.h"

#include "text/fail.h"

namespace store {

std::string SqliteError(sqlite3* db, std::string_view what) {
  return std::string(what) + ": " + (db != nullptr ? sqlite3_errmsg(db) : "out of memory");
}

bool Execute(sqlite3* db, const char* sql, std::string* error) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
  const std::string text = message != nullptr ? message : sqlite3_errmsg(db);
  sqlite3_free(message);
  return text::Fail(error, text);
}

bool Statement::Prepare(sqlite3* db, const char* sql, std::string* error) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &raw, nullptr) != SQLITE_OK) {
    sqlite3_finalize(raw);
    return text::Fail(error, SqliteError(db, "cannot prepare a store statement"));
  }
  stmt_.reset(raw);
  db_ = db;
  return true;
}

Statement& Statement::Bind(int index, int64_t value) {
  const int rc = sqlite3_bind_int64(stmt_.get(), index, value);
  if (bindStatus_ == SQLITE_OK) bindStatus_ = rc;
  return *this;
}

Statement& Statement::Bind(int index, double value) {
  const int rc = sqlite3_bind_double(stmt_.get(), index, value);
  if (bindStatus_ == SQLITE_OK) bindStatus_ = rc;
  return *this;
}

Statement& Statement::Bind(int index, std::string_view value) {
  const int rc =
      sqlite3_bind_text64(stmt_.get(), index, value.data(), value.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
  if (bindStatus_ == SQLITE_OK) bindStatus_ = rc;
  return *this;
}

Statement& Statement::Bind(int index, const std::optional<double>& value) {
  if (value) return Bind(index, *value);
  const int rc = sqlite3_bind_null(stmt_.get(), index);
  if (bindStatus_ == SQLITE_OK) bindStatus_ = rc;
  return *this;
}

Statement& Statement::BindBlob(int index, std::string_view bytes) {
  // A zero-length blob, not NULL, for an empty byte string.
  const int rc = sqlite3_bind_blob64(stmt_.get(), index, bytes.empty() ? "" : bytes.data(), bytes.size(),
                                     SQLITE_TRANSIENT);
  if (bindStatus_ == SQLITE_OK) bindStatus_ = rc;
  return *this;
}

bool Statement::Step(bool* row, std::string* error) {
  if (bindStatus_ != SQLITE_OK) {
    return text::Fail(error, std::string("cannot bind a store value: ") + sqlite3_errstr(bindStatus_));
  }
  const int rc = sqlite3_step(stmt_.get());
  if (rc == SQLITE_ROW || rc == SQLITE_DONE) {
    *row = rc == SQLITE_ROW;
    return true;
  }
  return text::Fail(error, SqliteError(db_, "store query failed"));
}

bool Statement::Run(std::string* error) {
  bool row = false;
  return Step(&row, error);
}

void Statement::Reset() {
  sqlite3_reset(stmt_.get());
  sqlite3_clear_bindings(stmt_.get());
  bindStatus_ = SQLITE_OK;
}

int64_t Statement::Int(int column) const { return sqlite3_column_int64(stmt_.get(), column); }

double Statement::Real(int column) const { return sqlite3_column_double(stmt_.get(), column); }

std::string Statement::Text(int column) const {
  const unsigned char* text = sqlite3_column_text(stmt_.get(), column);
  return text != nullptr ? std::string(reinterpret_cast<const char*>(text),
                                       static_cast<size_t>(sqlite3_column_bytes(stmt_.get(), column)))
                         : std::string();
}

std::optional<double> Statement::OptionalReal(int column) const {
  if (sqlite3_column_type(stmt_.get(), column) == SQLITE_NULL) return std::nullopt;
  return Real(column);
}

std::string_view Statement::Blob(int column) const {
  const void* data = sqlite3_column_blob(stmt_.get(), column);
  const int size = sqlite3_column_bytes(stmt_.get(), column);
  return data != nullptr ? std::string_view(static_cast<const char*>(data), static_cast<size_t>(size))
                         : std::string_view();
}

}  // namespace store
