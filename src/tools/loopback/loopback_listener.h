// A bounded server listening (on 127.0.0.1 unless told otherwise) on a thread of its own. The
// sample levels service and the chart page both serve this way, so binding, starting and
// stopping live here once.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "loopback/bounded_server.h"

namespace loopback {

inline constexpr const char* kHost = "127.0.0.1";

// The listening side of one server; the owner routes its requests and stops it.
class Listener {
 public:
  // `name` opens the error texts, as in "the page server already runs". `wakeHandlers`, when
  // given, is what Stop calls once Stopping() is true to wake the owner's waiting handlers; it
  // takes the lock they wait under before it notifies, so that none misses the flag.
  explicit Listener(std::string name, std::function<void()> wakeHandlers = {});
  // Stops listening when it still listens.
  ~Listener();
  Listener(const Listener&) = delete;
  Listener& operator=(const Listener&) = delete;

  // Binds `server` to `host` (an address or a name; kHost keeps it on this machine) at `port`
  // (0: any free port), listens on its own thread and returns once it accepts connections.
  // False with a reason when the port is outside 0..65535 or taken, the host cannot be bound,
  // the thread cannot start, or it already listens.
  bool Start(std::unique_ptr<BoundedServer> server, int port, std::string* error,
             const std::string& host = kHost);
  // Sets Stopping(), wakes the waiting handlers, shuts every open connection down, stops the
  // server and joins its threads, whatever the clients do; no effect when it does not listen.
  // Not to be called from a request handler.
  void Stop();
  // True from the start of Stop until the next Start: a handler that waits or streams ends its
  // answer early when it sees it.
  bool Stopping() const { return stopping_.load(); }

  bool Running() const;
  // The bound port; 0 while not listening.
  int Port() const { return port_; }
  // "http://HOST:PORT" (an IPv6 address in brackets); empty while not listening.
  std::string Origin() const;

 private:
  const std::string name_;
  const std::function<void()> wakeHandlers_;
  std::unique_ptr<BoundedServer> server_;
  std::string host_;
  std::thread thread_;
  std::atomic<int> port_{0};
  std::atomic<bool> listenEnded_{false};
  std::atomic<bool> stopping_{false};
};

}  // namespace loopback
