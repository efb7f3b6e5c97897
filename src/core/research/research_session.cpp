#include "research/research_session.h"

#include <new>
#include <utility>

#include "calendar/expiry_selection.h"
#include "calendar/new_york_calendar.h"
#include "json/json_document.h"
#include "payload/research_answer.h"
#include "research/research_response.h"
#include "text/format.h"

namespace research {

std::string EsOptionsSourceText(int esSourceIndex) { return esSourceIndex == 1 ? "SPX" : "SPY"; }

std::string ResearchDay(std::string_view dayInput, const std::string& newYorkToday) {
  std::string day = calendar::TrimBlanks(dayInput);
  return day.empty() ? newYorkToday : day;
}

std::string ResearchKey(const std::string& symbol, const std::string& source, const std::string& day) {
  return symbol + "|" + source + "|" + day;
}

std::string ResearchUnavailableText(uint32_t status) {
  return text::Format("Research unavailable (HTTP %u). Change request to retry.", status);
}

bool UpdateResearchKey(ResearchSession* session, const std::string& key) {
  if (session->key == key) return false;
  session->view = ResearchView{};
  session->key = key;
  return true;
}

bool PollResearchRequest(ResearchSession* session, const std::string& symbol,
                         const std::string& expectedSource, const std::string& day) {
  if (!session->pending || !session->pending->done.load(std::memory_order_acquire)) return false;
  const std::shared_ptr<GexResearch::Request> finished = std::exchange(session->pending, nullptr);
  if (finished->key != session->key) return false;
  // A document of its own: research answers come only when asked for, far apart, so kept
  // buffers would hold memory for nothing between them.
  json::Document document;
  const json::ParseResult parsed =
      finished->status == 200 ? document.Parse(finished->body) : json::ParseResult::kMalformed;
  if (parsed == json::ParseResult::kOutOfMemory) throw std::bad_alloc();  // as any allocation
  if (parsed == json::ParseResult::kParsed) {
    AcceptResearchResponse(&session->view, payload::ReadResearchAnswer(document.Root()), symbol,
                           expectedSource, day);
  } else {
    session->view.status = ResearchUnavailableText(finished->status);
  }
  return true;
}

bool KickOffResearchRequest(ResearchSession* session, platform::Services& services, int requestValue,
                            const std::string& origin, const std::string& symbol, const std::string& source,
                            const std::string& day) {
  if (requestValue <= 0 || requestValue == session->lastRequestValue || session->pending) {
    return false;
  }
  if (calendar::IsoDateToEpochSeconds(day) < 0) {
    session->lastRequestValue = requestValue;
    session->view.status = kResearchDayInvalid;
    return true;
  }
  // Started before anything is noted, so a failed allocation leaves the session as it was.
  session->pending =
      StartResearchRequest(services, origin, symbol, source, day, ResearchKey(symbol, source, day));
  session->lastRequestValue = requestValue;
  session->view.status = kResearchInProgress;
  return true;
}

}  // namespace research
