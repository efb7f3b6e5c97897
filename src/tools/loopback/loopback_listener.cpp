// Binding, the listening thread and stopping for the loopback servers.
#include "loopback/loopback_listener.h"

#include <chrono>
#include <system_error>

namespace loopback {
namespace {

std::string HostPort(const std::string& host, int port) {
  const bool ipv6 = host.find(':') != std::string::npos;
  return (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

}  // namespace

Listener::Listener(std::string name, std::function<void()> wakeHandlers)
    : name_(std::move(name)), wakeHandlers_(std::move(wakeHandlers)) {}

Listener::~Listener() { Stop(); }

bool Listener::Start(std::unique_ptr<BoundedServer> server, int port, std::string* error,
                     const std::string& host) {
  if (server_) {
    *error = name_ + " already runs";
    return false;
  }
  if (port < 0 || port > 65535) {
    *error = "port " + std::to_string(port) + " is outside 0..65535";
    return false;
  }
  const int bound = server->Bind(host, port);
  if (bound <= 0) {
    *error = "cannot listen on " + HostPort(host, port);
    return false;
  }
  // Set before the first request can arrive: the page's guard checks the Host header against it.
  host_ = host;
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
  // Connections that are read or written (a slow client, an event stream) would hold it up too.
  server_->CloseConnections();
  server_->stop();
  if (thread_.joinable()) thread_.join();
  server_.reset();
  port_ = 0;
}

bool Listener::Running() const { return server_ && server_->is_running(); }

std::string Listener::Origin() const {
  const int port = port_;
  return port == 0 ? std::string() : "http://" + HostPort(host_, port);
}

}  // namespace loopback
