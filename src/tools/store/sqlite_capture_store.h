// The capture store in one SQLite file: WAL journal, one writing process, the schema versioned
// and migrated at open, the contracts and exposures of each capture packed into two blobs.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "store/capture_store.h"

namespace store {

struct SqliteStoreOptions {
  // How long a statement waits for a lock another connection (a reader such as the sqlite3
  // shell) holds before it fails.
  int busyTimeoutMs = 5000;
  // Tests only: called inside Append after the summary row is written and before the rest of
  // the capture and the commit, so a test can kill the process there or throw; a throw rolls
  // the capture back and Append returns false with its message.
  std::function<void()> midCaptureHook;
};

// Opens the store at `path` for writing: a missing file is created, an empty one initialised,
// an older schema migrated. Null with "cannot open the store PATH: <why>" (nothing in the file
// changed) when the file cannot be opened or made, is not a SQLite database, belongs to another
// program or holds tables that are not ours, has a schema newer than this program knows, or
// another process (or another open store object) already writes to it. The store's lock file
// "PATH.lock" stays beside it.
std::unique_ptr<CaptureStore> OpenSqliteStore(const std::string& path, SqliteStoreOptions options,
                                              std::string* error);

}  // namespace store
