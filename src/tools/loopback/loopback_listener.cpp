// Binding, the listening thread and stopping for the loopback servers.
#include "loopback/loopback_listener.h"

#include <sys/socket.h>

#include <chrono>
#include <system_error>

namespace loopback {

std::unique_ptr<httplib::Server> NewExclusiveServer() {
  auto server = std::make_unique<httplib::Server>();
  // httplib's default adds SO_REUSEPORT, which lets a second server bind a port that one already
  // listens on and share its requests.
  server->set_socket_options([](socket_t socket) {
    const int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
  });
  return server;
}

Listener::Listener(std::string name, std::function<void()> wakeHandlers)
    : name_(std::move(name)), wakeHandlers_(std::move(wakeHandlers)) {}

Listener::~Listener() { Stop(); }

bool Listener::Start(std::unique_ptr<httplib::Server> server, int port, std::string* error) {
  if (server_) {
    *error = name_ + " already runs";
    return false;
  }
  if (port < 0 || port > 65535) {
    *error = "port " + std::to_string(port) + " is outside 0..65535";
    return false;
  }
  const int bound = port == 0 ? server->bind_to_any_port(kHost) : (server->bind_to_port(kHost, port) ? port : -1);
  if (bound <= 0) {
    *error = "cannot listen on " + std::string(kHost) + ":" + std::to_string(port);
    return false;
  }
  // Set before the first request can arrive: the page's guard checks the Host header against it.
  port_ = bound;
  server_ = std::move(server);
  listenEnded_ = false;
  stopping_ = false;
  try {
    thread_ = std::thread([this] {
      server_->listen_after_bind();
      listenEnded_ = true;
    });
  } catch (const std::system_error&) {
    server_.reset();
    port_ = 0;
    *error = "cannot start the thread of " + name_;
    return false;
  }
  // Stop only reaches a server that has begun to listen, so wait for that here.
  while (!server_->is_running() && !listenEnded_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  if (!server_->is_running()) {
    Stop();
    *error = name_ + " stopped as it started";
    return false;
  }
  return true;
}

void Listener::Stop() {
  if (!server_) return;
  // Handlers that wait (a held-back answer, an idle event stream) would hold up the join below.
  stopping_ = true;
  if (wakeHandlers_) wakeHandlers_();
  server_->stop();
  if (thread_.joinable()) thread_.join();
  server_.reset();
  port_ = 0;
}

bool Listener::Running() const { return server_ && server_->is_running(); }

std::string Listener::Origin() const {
  const int port = port_;
  return port == 0 ? std::string() : "http://" + std::string(kHost) + ":" + std::to_string(port);
}

}  // namespace loopback
