// What the live service asks of its history: append a capture, read the latest, a day or one
// capture, prune. Nothing here names SQL, so a server database can stand behind it as well as
// the SQLite file (sqlite_capture_store.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/capture_record.h"

namespace store {

// Every operation returns false with `*error` set when the store cannot do it (I/O, a busy or
// broken database, a corrupt stored capture); none throws. "Latest" and "in time order" go by
// asOf, then by the order of appending. Implementations may be called from several threads.
class CaptureStore {
 public:
  virtual ~CaptureStore() = default;

  // Keeps `capture` whole or not at all and sets `*id` to its new id. False, storing nothing,
  // for an empty symbol or digest, a session date that is not YYYY-MM-DD, a number that is not
  // finite or a contract or exposure the packing refuses.
  virtual bool Append(const CaptureRecord& capture, int64_t* id, std::string* error) = 0;

  // The most recent capture of `symbol` with its contracts and exposures; empty when none.
  virtual bool Latest(std::string_view symbol, std::optional<CaptureRecord>* out, std::string* error) = 0;

  // The chain digest of the most recent capture of `symbol`; empty when none.
  virtual bool LatestDigest(std::string_view symbol, std::optional<std::string>* out, std::string* error) = 0;

  // The summaries of `symbol`'s captures of New York session `day` ("YYYY-MM-DD"), in time order.
  virtual bool DaySummaries(std::string_view symbol, std::string_view day, std::vector<CaptureSummary>* out,
                            std::string* error) = 0;

  // The exposures of at most `limit` of the day's captures in time order: all of them when
  // there are no more, else `limit` spread evenly over the day, the first and the last included.
  virtual bool DayExposures(std::string_view symbol, std::string_view day, size_t limit,
                            std::vector<CaptureExposures>* out, std::string* error) = 0;

  // The capture `id` with its contracts and exposures; empty when there is none.
  virtual bool ById(int64_t id, std::optional<CaptureRecord>* out, std::string* error) = 0;

  // The first capture of `symbol` whose asOf is at or after `time` (seconds since 1970).
  virtual bool FirstAtOrAfter(std::string_view symbol, int64_t time, std::optional<CaptureRecord>* out,
                              std::string* error) = 0;

  // The last capture of `symbol` whose asOf is before `time`.
  virtual bool LastBefore(std::string_view symbol, int64_t time, std::optional<CaptureRecord>* out,
                          std::string* error) = 0;

  // Deletes every capture fetched before `time` and sets `*removed` to how many went. By fetch
  // time, not asOf, so that a chain whose own time is old (a file left in place) is kept for the
  // retention like any other.
  virtual bool PruneFetchedBefore(int64_t time, size_t* removed, std::string* error) = 0;

  // The symbols with at least one capture, in ascending order.
  virtual bool Symbols(std::vector<std::string>* out, std::string* error) = 0;
};

}  // namespace store
