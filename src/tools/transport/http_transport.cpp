#include "transport/http_transport.h"

#include <utility>

namespace transport {

bool ScriptedTransport::Start(const HttpRequestRecord&) {
  pending_ = true;
  answer_.reset();
  return true;
}

std::optional<std::string> ScriptedTransport::TakeAnswer() {
  std::optional<std::string> answer = std::move(answer_);
  answer_.reset();
  return answer;
}

bool ScriptedTransport::Answer(std::string body) {
  if (!pending_) return false;
  pending_ = false;
  answer_ = std::move(body);
  return true;
}

}  // namespace transport
