// An option chain as CSV: a header row, then one row per contract. Columns are found by name,
// ignoring letter case, blanks and punctuation; unknown columns are ignored.
#pragma once

#include <string>
#include <string_view>

#include "engine/option_chain.h"

namespace engine {

// Reads the CSV `text` into `chain` (replacing its contracts and issues). Required columns:
// expiration (YYYY-MM-DD), strike, type (C/P, call/put), open interest, implied volatility
// (decimal; percent when the value ends in '%' or the column name says "%", "pct" or
// "percent"); optional: volume (bid, ask and gamma are recognised and not used). A row with a
// missing or non-finite required number, a negative open interest, a volatility not above 0, a
// volume that is not a number or negative, an unknown type or an impossible date is skipped and
// counted under its line number, and so are the rows ScreenContracts drops (a volatility above
// 500 %, a repeated contract; when the column holds percents, the hint says how to mark it).
// False, with a message, when there is no header, a required column is missing, or the records
// cannot be read (formats::CsvRecords: a quote left open, a row wider than the header, with its
// line).
bool ReadCsvChain(std::string_view text, OptionChain* chain, std::string* error);

}  // namespace engine
