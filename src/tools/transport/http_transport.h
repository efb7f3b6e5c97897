// How the chart host performs the study's asynchronous HTTP requests: a transport takes a
// request at once and hands its answer over later. The scripted transport answers when a test
// or a replay says so; a network transport drops in behind the same interface.
#pragma once

#include <optional>
#include <string>

#include "host/study_host.h"

namespace transport {

// One request the host accepted; `body` is empty (no value) for a plain GET.
struct HttpRequestRecord {
  double time = 0;
  std::string url;
  std::optional<std::string> body;
  host::HttpHeaders headers;
};

class HttpTransport {
 public:
  virtual ~HttpTransport() = default;
  // Takes on `request`; false when it cannot. The answer of any earlier request is abandoned.
  // Called on the host's calling thread.
  virtual bool Start(const HttpRequestRecord& request) = 0;
  // The answer to the latest request once it has arrived, handed over once; no value before.
  // Called on the host's calling thread.
  virtual std::optional<std::string> TakeAnswer() = 0;
};

// Accepts every request; its answer arrives only when Answer is called.
class ScriptedTransport : public HttpTransport {
 public:
  bool Start(const HttpRequestRecord& request) override;
  std::optional<std::string> TakeAnswer() override;

  // Makes `body` the answer to the pending request; false when no request is pending.
  bool Answer(std::string body);

 private:
  bool pending_ = false;
  std::optional<std::string> answer_;
};

}  // namespace transport
