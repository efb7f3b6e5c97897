// The bounds a server of ours keeps whatever its clients do, apart from the server so that its
// owners' headers need not include cpp-httplib.
#pragma once

#include <chrono>
#include <cstddef>

namespace loopback {

// The bounds of one server; production takes the defaults, tests shorten the times.
struct ServerLimits {
  std::chrono::milliseconds idle{2000};     // a connection waits this long for a request to begin
  std::chrono::milliseconds request{5000};  // a request's head and body arrive within this
  std::chrono::milliseconds write{5000};    // each write waits this long for the peer to take bytes
  size_t bodyBytes = 1 << 20;               // a larger request body is refused with 413
  size_t requestsPerConnection = 100;       // then the connection closes
  size_t connections = 256;                 // served at once; more are refused with 503
};

}  // namespace loopback
