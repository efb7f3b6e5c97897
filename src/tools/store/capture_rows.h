// How a capture summary maps onto the columns of the capture table: the column list the
// queries select, binding a summary for the insert, reading one back, and the checks a summary
// passes before it is stored.
#pragma once

#include <string>

#include "store/capture_record.h"
#include "store/sqlite_statement.h"

namespace store {

// The summary columns, id first, as "id, symbol, ..., contract_count" (29 columns).
extern const char* const kSummaryColumns;

// "INSERT INTO capture(...) VALUES(?1, ...)": every summary column but id.
extern const char* const kInsertSummarySql;

// Binds `c` to kInsertSummarySql, with `contractCount` for contract_count.
void BindSummary(Statement& insert, const CaptureSummary& c, int64_t contractCount);

// The summary in the kSummaryColumns columns of the current row of `s`, starting at `first`.
CaptureSummary ReadSummary(const Statement& s, int first);

// False with a message for an empty symbol or digest, a session date that is not a real
// YYYY-MM-DD date, or a number (spot, rate, dividend, ratio, a level, net GEX or DEX) that is
// not finite.
bool CheckSummary(const CaptureSummary& c, std::string* error);

}  // namespace store
