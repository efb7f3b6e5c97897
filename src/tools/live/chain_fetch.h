// One fetch of a symbol's option chain from its source: the bytes a URL answers, a file holds or
// a command prints. A file is read only when it changed since the read the caller remembers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "live/fetch_status.h"
#include "live/live_config.h"
#include "live/stop_signal.h"

namespace live {

// What tells one state of a file from another without reading it.
struct FileStamp {
  uint64_t device = 0, inode = 0;
  int64_t size = 0;
  int64_t modifiedNs = 0;  // last modification, nanoseconds since 1970
  bool operator==(const FileStamp&) const = default;
};

struct ChainBytes {
  std::string bytes;
  std::optional<FileStamp> stamp;  // a file source's stamp at this read
  std::string errorText;           // a command's standard error (bounded), as it printed it
  bool errorCut = false;           // it printed more than was kept
};

// Fetches the chain of `symbol` (at most formats::kMaxChainBytes) into `*out`, within the
// symbol's timeout; commands run in `configDir`. kUnchanged, reading nothing, for a file whose
// stamp equals `lastStamp`; kStopped when `stop` rises meanwhile; kFailed with `*error` for a
// source that cannot be fetched (the transfer's, the file's or the command's reason; a file
// that is not a regular one or is larger than the limit).
FetchStatus FetchChain(const SymbolConfig& symbol, const std::string& configDir,
                       const std::optional<FileStamp>& lastStamp, const StopSignal& stop, ChainBytes* out,
                       std::string* error);

}  // namespace live
