// The research path of the live service: one New York day of a symbol's stored captures as the
// study's research answer, with the identity it checks (the symbol and day asked for, the
// options source behind the symbol), the captures as history rows and the latest one's book.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "live/answer_context.h"
#include "service/fixture_catalogue.h"
#include "store/capture_record.h"

namespace live {

// History rows a research answer holds at most.
inline constexpr size_t kResearchRowLimit = 240;

// What one research answer is made of.
struct ResearchDay {
  std::string symbol;   // as asked ("NQ")
  std::string day;      // "YYYY-MM-DD", as asked
  std::string source;   // the options source behind the symbol ("QQQ")
  std::string future;   // the source's futures symbol when `mapped`
  bool mapped = false;  // levels shown at each capture's ratio to the future
  double open = 0;      // 09:30 New York of `day`, seconds since 1970
  double generatedAt = 0;
  std::vector<store::CaptureSummary> captures;  // the day's, in time order
  std::optional<store::CaptureRecord> latest;   // the last of them, with its exposures
};

// The research answer: "ok", "symbol", "day", "source", "generated_at", "history" (the rows
// SpreadOverDay keeps of at most `rowLimit`, the session's first capture among them, with
// "excluded", "limit" and "note") and the book of research_book.h. Requires: rowLimit >= 3.
std::string ResearchAnswerJson(const ResearchDay& day, size_t rowLimit);

// The answer to a research request (GET and POST alike): 200 with ResearchAnswerJson; 400 for a
// missing symbol or a day that is not YYYY-MM-DD, 404 when the options source behind the
// symbol is not carried, 503 when the history cannot be read; each with a JSON body whose "ok"
// is false.
service::FixtureAnswer AnswerResearch(const AnswerContext& context, const service::FixtureRequest& request);

}  // namespace live
