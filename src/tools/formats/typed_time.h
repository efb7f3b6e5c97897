// The one grammar for the times people type and files carry: bar times in a bars file, the
// engine's --as-of and a chain's own timestamp. README.md "Times" describes it for users.
#pragma once

#include <string>
#include <string_view>

#include "platform/services.h"

namespace formats {

// Which of the two numbers of a slash date ("03/04/2025") is the month.
enum class SlashDateOrder {
  kFromDate,    // the date itself must tell: a number above 12 is the day, equal numbers read alike
  kMonthFirst,  // 03/04/2025 is 2025-03-04
  kDayFirst,    // 03/04/2025 is 2025-04-03
};

// Reads `text` into seconds since 1970 UTC. Accepted: "YYYY-MM-DD" and a time "hh:mm",
// "hh:mm:ss" or "hh:mm:ss.fff" joined by 'T' (or 't') or one blank, followed by "Z" (or 'z'),
// "+hh:mm", "+hhmm" or "+hh" (or '-') up to 18 hours, or by nothing for New York wall-clock time
// (calendar::NewYorkWallClockToUtc through `zone`); "YYYY-MM-DD" alone for New York midnight;
// a slash date "M/D/YYYY" (one or two digits each, read as `order` says) alone or with a blank
// and such a time whose hour may have one digit; or nine or more digits, with an optional
// fraction, as seconds since 1970. Second 60 (a leap second) is read as the first instant of
// the next minute. False (*utcSeconds untouched) for any other shape, a date that does not exist
// or that reads two ways under kFromDate, hours past 23, minutes past 59, or an instant before
// 1970 or after 9999.
bool ParseTypedTime(std::string_view text, SlashDateOrder order, platform::Services& zone,
                    double* utcSeconds);

// As above with SlashDateOrder::kFromDate: a typed value is its own file of one date.
bool ParseTypedTime(std::string_view text, platform::Services& zone, double* utcSeconds);

// True when `text` is a date alone, "YYYY-MM-DD" or a slash date that `order` reads.
bool IsTypedDate(std::string_view text, SlashDateOrder order);

// A date and a time of day given in two fields (a bars file's Date and Time columns) as one
// time: `date` as IsTypedDate takes it, `clock` a time ("9:30", "09:30:00.5", the hour of one
// or two digits) with an optional offset as ParseTypedTime reads them after a date. False
// (*utcSeconds untouched) when either field is not of that form or the instant is out of range.
bool ParseTypedDateAndClock(std::string_view date, std::string_view clock, SlashDateOrder order,
                            platform::Services& zone, double* utcSeconds);

// Tells the order of a file's slash dates from all of them: a date whose first number is above
// 12 puts the day first, one whose second is puts the month first; dates whose numbers are equal
// read alike either way.
class SlashDateEvidence {
 public:
  // Notes the slash date that `text` starts with, found on `line`; texts that do not start with
  // one, and dates that no order reads (13/13/2025), tell nothing.
  void Note(std::string_view text, size_t line);

  // The order the noted dates tell (kFromDate when they need none). False with `*error` naming
  // `column`, the lines and what to write instead when one date puts the day first and another
  // the month, or when none tells and one reads as two different dates.
  bool Decide(std::string_view column, SlashDateOrder* order, std::string* error) const;

 private:
  struct Seen {
    size_t line = 0;  // 0: none seen
    std::string text;
  };
  Seen dayFirst_, monthFirst_, twoWays_;
};

// "YYYY-MM-DDThh:mm:ssZ" of the whole seconds of `utcSeconds`, which ParseTypedTime reads back.
std::string UtcTimestampText(double utcSeconds);

// "YYYY-MM-DD hh:mm:ss", the New York wall clock at the whole seconds of `utcSeconds` through
// `zone`, which ParseTypedTime reads back (the first of a repeated hour).
std::string NewYorkTimeText(double utcSeconds, platform::Services& zone);

}  // namespace formats
