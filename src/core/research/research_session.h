// The driver's side of research for one study instance: the research identity, polling the
// pending request and starting a new one when the request input changes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/services.h"
#include "research/research_request.h"
#include "research/research_view.h"

namespace research {

inline constexpr const char* kResearchDayInvalid = "Research day must be YYYY-MM-DD.";
inline constexpr const char* kResearchInProgress = "Research request in progress.";

struct ResearchSession {
  ResearchView view;
  std::shared_ptr<GexResearch::Request> pending;  // at most one request in flight
  std::string key;                                // research key of `view`
  int lastRequestValue = 0;                       // last request input value acted on
};

// "SPX" for ES options source index 1, else "SPY".
std::string EsOptionsSourceText(int esSourceIndex);

// The research day input without surrounding blanks, or `newYorkToday` when that is empty.
std::string ResearchDay(std::string_view dayInput, const std::string& newYorkToday);

// API symbol, options source text and day joined with '|'.
std::string ResearchKey(const std::string& symbol, const std::string& source, const std::string& day);

// "Research unavailable (HTTP <status>). Change request to retry.".
std::string ResearchUnavailableText(uint32_t status);

// Holds `key`; when it differs from the held one the view starts afresh (a running request
// stays pending). True when the key changed.
bool UpdateResearchKey(ResearchSession* session, const std::string& key);

// Takes a finished request out of the session and applies it to the view: a 200 answer that
// parses as JSON goes to AcceptResearchResponse, anything else sets the unavailable status; a
// request started for another key is dropped silently. True when the view changed.
bool PollResearchRequest(ResearchSession* session, const std::string& symbol,
                         const std::string& expectedSource, const std::string& day);

// Starts one request when `requestValue` is positive, differs from the last value acted on and
// nothing is pending; an invalid `day` only sets the day status. True when the status changed.
// Requires: `services` outlives the worker.
bool KickOffResearchRequest(ResearchSession* session, platform::Services& services, int requestValue,
                            const std::string& origin, const std::string& symbol, const std::string& source,
                            const std::string& day);

}  // namespace research
