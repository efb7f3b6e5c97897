// What every answer of the live service reads: the configuration, the capture history, the
// clock and New York time, and where the answering side logs what it cannot tell a client.
#pragma once

#include "chart/clock.h"
#include "live/capture_runtime.h"
#include "live/live_config.h"
#include "platform/services.h"
#include "service/fixture_catalogue.h"
#include "store/capture_store.h"

namespace live {

// Requires: every pointer is set and outlives the answers made with it.
struct AnswerContext {
  const LiveConfig* config = nullptr;
  store::CaptureStore* store = nullptr;
  const chart::Clock* clock = nullptr;
  platform::Services* services = nullptr;
  LogLine log;  // may be empty: nothing is logged
};

// A refusal of a request with `status` and a JSON body whose "ok" is false, with `error` and
// `message`.
inline service::FixtureAnswer Refusal(int status, std::string_view error, std::string_view message) {
  service::FixtureAnswer answer = service::FailureEnvelope(error, message);
  answer.status = status;
  return answer;
}

}  // namespace live
