// The per-strike part of a research answer, from one stored capture: the expiry book (per
// expiration, each strike's GEX, DEX, vanna and charm exposure) and the same summed over the
// expirations, in the underlying's own strikes and bounded to a band around spot.
#pragma once

#include <cstddef>
#include <string>

#include "jsonout/json_writer.h"
#include "store/capture_record.h"

namespace live {

// Strikes further from spot than this share of it are left out of the book.
inline constexpr double kBookStrikeBandPct = 10;
// Rows the book holds at most: expirations are taken nearest first while their rows fit.
inline constexpr size_t kMaxBookRows = 20000;

// Writes the members "expiry_book" and "strikes" of `capture` of `underlying` into the object
// being written by `w`. A null capture gives a book without expirations whose note says so.
void WriteResearchBook(jsonout::JsonWriter& w, const std::string& underlying, const std::string& day,
                       const store::CaptureRecord* capture);

}  // namespace live
