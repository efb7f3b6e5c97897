#include "live/live_answers.h"

#include "live/live_history.h"
#include "live/live_levels.h"
#include "live/live_research.h"
#include "live/strike_history.h"

namespace live {
namespace {

// The route a path is counted under: the path itself when it is one, else kOtherRoute, so that
// the series stay few whatever clients ask for (and a token never reaches the metrics).
std::string_view RouteName(std::string_view path) {
  for (const std::string_view route : {service::kLevelsPath, service::kResearchPath, kHistoryPath,
                                       kStrikeHistoryPath, kHealthPath, kMetricsPath}) {
    if (path == route) return route;
  }
  return kOtherRoute;
}

service::FixtureAnswer NotFound() { return service::PlainAnswer(404, "not found\n"); }

}  // namespace

bool PathUnderToken(std::string_view path, std::string_view token, std::string* rest) {
  if (token.empty()) {
    *rest = std::string(path);
    return true;
  }
  const size_t end = token.size() + 1;  // after "/<token>"
  if (path.size() <= end || path[0] != '/' || path[end] != '/') return false;
  unsigned char differ = 0;
  for (size_t i = 0; i < token.size(); ++i) differ |= static_cast<unsigned char>(path[i + 1] ^ token[i]);
  if (differ != 0) return false;
  *rest = std::string(path.substr(end));
  return true;
}

LiveAnswers::LiveAnswers(AnswerContext context, const LiveState& state)
    : context_(std::move(context)), state_(state) {}

service::FixtureAnswer LiveAnswers::Answer(const service::FixtureRequest& request) {
  std::string path;
  service::FixtureAnswer answer;
  if (PathUnderToken(request.path, context_.config->token, &path)) {
    answer = Route(path, request);
  } else {
    answer = NotFound();
  }
  counts_.Add(RouteName(path), answer.status);
  return answer;
}

service::FixtureAnswer LiveAnswers::Route(const std::string& path, const service::FixtureRequest& request) {
  if (path == service::kLevelsPath) return KeptLevels(request);
  if (path == service::kResearchPath) return AnswerResearch(context_, request);
  if (path == kHistoryPath) return AnswerHistory(context_, request);
  if (path == kStrikeHistoryPath) return AnswerStrikeHistory(context_, request);
  const double now = context_.clock->Now();
  if (path == kHealthPath) return AnswerHealth(*context_.config, state_.Snapshot(), now);
  if (path == kMetricsPath) {
    // This request is counted after its answer is made, like every other.
    return AnswerMetrics(state_.Snapshot(), counts_.Snapshot(), now);
  }
  return NotFound();
}

service::FixtureAnswer LiveAnswers::KeptLevels(const service::FixtureRequest& request) {
  // Read before the store: an answer computed meanwhile from a newer capture is kept under the
  // older generation at worst, and dropped when the generation moves on.
  const uint64_t generation = state_.Generation();
  const std::string key = LevelsAnswerKey(context_, request);
  {
    std::lock_guard lock(keptMutex_);
    if (keptGeneration_ != generation) {
      kept_.clear();
      keptGeneration_ = generation;
    }
    const auto found = kept_.find(key);
    if (found != kept_.end()) return found->second;
  }
  bool lasting = true;
  service::FixtureAnswer answer = AnswerLevels(context_, request, &lasting);
  std::lock_guard lock(keptMutex_);
  if (lasting && keptGeneration_ == generation) {
    if (kept_.size() >= kMaxKeptAnswers) kept_.clear();
    kept_.emplace(key, answer);
  }
  return answer;
}

}  // namespace live
