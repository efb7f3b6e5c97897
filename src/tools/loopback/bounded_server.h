// A cpp-httplib server that no client can hold: each connection runs on a thread of its own up
// to a cap, a request's head and body must arrive by a deadline, idle connections close soon,
// refusals close their connection, and Stop (through Listener) shuts every connection down.
#pragma once

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>

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

// Bytes a request may read besides twice its body limit (room for a chunked body's framing):
// its line and headers. Past them its reads fail and it is answered 400.
inline constexpr size_t kMaxRequestHeadBytes = 64 * 1024;

class Listener;

class BoundedServer : private httplib::Server {
 public:
  // A server whose listening socket refuses to share its port, with `limits`. Every error
  // answer (4xx, 5xx) closes its connection, and those the server gives by itself carry a short
  // reason: 408 for a request that missed its deadline, 413 naming limits.bodyBytes, 400 for
  // one it cannot read.
  explicit BoundedServer(ServerLimits limits = {});
  ~BoundedServer() override;

  // Routes as cpp-httplib's Get and Post; handlers run on the connection's thread, and the
  // answers they give are sent as they are.
  BoundedServer& Get(const std::string& pattern, httplib::Server::Handler handler);
  BoundedServer& Post(const std::string& pattern, httplib::Server::Handler handler);
  using httplib::Server::set_default_headers;
  using httplib::Server::set_pre_routing_handler;

 private:
  friend class Listener;
  using httplib::Server::is_running;
  using httplib::Server::listen_after_bind;
  using httplib::Server::stop;

  // Binds `host` at `port` (0: any free port) with room for a burst of connections waiting to
  // be taken; the bound port, or -1.
  int Bind(const std::string& host, int port);
  // Ends every open connection and closes each that arrives later, for Listener::Stop: reads
  // end at once, answers being written get a moment to go out, then the sockets shut down.
  void CloseConnections();

  bool process_and_close_socket(socket_t socket) override;
  // Serves the requests of one registered connection until it closes, idles or fails.
  bool ServeConnection(socket_t socket);
  // False when the server is closing its connections.
  bool Register(socket_t socket);
  void Unregister(socket_t socket);

  const ServerLimits limits_;
  std::mutex mutex_;  // guards open_ and closing_, and pairs with closed_
  std::condition_variable closed_;
  std::set<socket_t> open_;
  bool closing_ = false;
};

}  // namespace loopback
