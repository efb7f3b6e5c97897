// The SQL of the capture tables: every statement the SQLite store prepares, binding a summary
// for the insert and reading one back, and the checks a summary passes before it is stored.
#pragma once

#include <string>

#include "store/capture_record.h"
#include "store/sqlite_statement.h"

namespace store {

// The statements, with their parameters (?1, ?2 ...) and what their rows hold. "Full" rows are a
// summary (29 columns, id first) followed by the contracts and exposures blobs.
struct CaptureQueries {
  std::string insertSummary;   // every summary column but id, as BindSummary binds them
  std::string insertData;      // capture id, contracts blob, exposures blob
  std::string latest;          // symbol -> a full row
  std::string byId;            // id -> a full row
  std::string firstAtOrAfter;  // symbol, time -> a full row
  std::string lastBefore;      // symbol, time -> a full row
  std::string day;             // symbol, session date -> summaries in time order
  std::string latestDigest;    // symbol -> chain_digest
  std::string dayIds;          // symbol, session date -> id, as_of in time order
  std::string exposures;       // id -> exposures blob
  std::string pruneData;       // time: the blobs of captures fetched before it
  std::string prune;           // time: the captures fetched before it
  std::string symbols;         // -> each symbol once, ascending
};

// The store's statements.
const CaptureQueries& Queries();

// Binds `c` to Queries().insertSummary, with `contractCount` for contract_count.
void BindSummary(Statement& insert, const CaptureSummary& c, int64_t contractCount);

// The summary in the current row of `s` (a full row or a day row).
CaptureSummary ReadSummary(const Statement& s);

// False with a message for an empty symbol or digest, a session date that is not a real
// YYYY-MM-DD date, or a number (spot, rate, dividend, ratio, a level, net GEX or DEX) that is
// not finite.
bool CheckSummary(const CaptureSummary& c, std::string* error);

}  // namespace store
