// The live levels service over HTTP: a cpp-httplib server on threads of its own that hands every
// GET and POST to LiveAnswers.
#pragma once

#include <string>

#include "live/live_answers.h"
#include "live/live_config.h"
#include "loopback/loopback_listener.h"

namespace live {

class LiveServer {
 public:
  // Requires: `answers` outlives the server.
  explicit LiveServer(LiveAnswers& answers);
  // Stops the server when it still runs.
  ~LiveServer();
  LiveServer(const LiveServer&) = delete;
  LiveServer& operator=(const LiveServer&) = delete;

  // Listens on `address` (port 0: any free one) and serves on its own threads; returns once it
  // accepts connections ("localhost" binds 127.0.0.1). False with a reason when it already runs
  // or the address cannot be bound.
  bool Start(const ListenAddress& address, std::string* error);
  // Stops listening, lets the requests being answered end and joins the threads; within two
  // seconds whatever the clients do. No effect when it does not run.
  void Stop();

  // The bound port; 0 while not running.
  int Port() const;
  // "http://HOST:PORT" (an IPv6 address in brackets); empty while not running.
  std::string Origin() const;

 private:
  LiveAnswers& answers_;
  loopback::Listener listener_{"the live service"};
};

}  // namespace live
