// The live service's answers apart from HTTP: the token prefix, the routes, the levels answers
// kept until the next capture, and the requests counted for /metrics.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "live/answer_context.h"
#include "live/live_health.h"
#include "live/live_state.h"
#include "service/fixture_catalogue.h"

namespace live {

inline constexpr std::string_view kHistoryPath = "/history";
inline constexpr std::string_view kStrikeHistoryPath = "/history/strikes";
inline constexpr std::string_view kHealthPath = "/health";
inline constexpr std::string_view kMetricsPath = "/metrics";
// The route name requests outside the routes are counted under.
inline constexpr std::string_view kOtherRoute = "other";

// Levels answers kept at most; past it the kept ones are dropped and keeping starts again.
inline constexpr size_t kMaxKeptAnswers = 256;

// `path` under the token: with an empty token `path` itself; else what follows "/<token>" when
// `path` starts with "/<token>/" (the token compared in constant time), else false.
bool PathUnderToken(std::string_view path, std::string_view token, std::string* rest);

class LiveAnswers {
 public:
  // Requires: what `context` points to and `state` outlive this.
  LiveAnswers(AnswerContext context, const LiveState& state);

  // The answer to `request` (GET and POST alike; its path percent-decoded, as received). With a
  // token, paths not under "/<token>/" get 404. Routed: the levels path (answers kept until
  // the state's generation moves on), the research path, /history, /history/strikes, /health,
  // /metrics; 404 for any other path. Every answer is counted by route and status.
  service::FixtureAnswer Answer(const service::FixtureRequest& request);

 private:
  service::FixtureAnswer Route(const std::string& path, const service::FixtureRequest& request);
  service::FixtureAnswer KeptLevels(const service::FixtureRequest& request);

  const AnswerContext context_;
  const LiveState& state_;
  RequestCounts counts_;
  std::mutex keptMutex_;  // guards the two below
  uint64_t keptGeneration_ = 0;
  std::unordered_map<std::string, service::FixtureAnswer> kept_;
};

}  // namespace live
