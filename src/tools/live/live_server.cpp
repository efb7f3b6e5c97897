#include "live/live_server.h"

#include <httplib.h>

#include <memory>
#include <utility>

namespace live {
namespace {

// The study sends "{}"; nothing it sends comes near this.
constexpr size_t kMaxRequestBodyBytes = 64 * 1024;
// One request per connection, and reads and writes that may stall a second at most: a client
// that sends or reads nothing holds no thread past that, so Stop ends within two seconds.
constexpr size_t kRequestsPerConnection = 1;
constexpr time_t kStallSeconds = 1;

std::unique_ptr<httplib::Server> NewServer() {
  auto server = loopback::NewExclusiveServer();
  server->set_keep_alive_max_count(kRequestsPerConnection);
  server->set_keep_alive_timeout(kStallSeconds);
  server->set_read_timeout(kStallSeconds, 0);
  server->set_write_timeout(kStallSeconds, 0);
  server->set_payload_max_length(kMaxRequestBodyBytes);
  return server;
}

// The one place that binds. The listener binds 127.0.0.1 alone for now; once it takes a host,
// `address.host` goes to it here and the refusal goes.
bool Listen(loopback::Listener& listener, std::unique_ptr<httplib::Server> server,
            const ListenAddress& address, std::string* error) {
  if (address.host != loopback::kHost && address.host != "localhost") {
    *error = "cannot listen on " + address.host + ": this build binds 127.0.0.1 only";
    return false;
  }
  return listener.Start(std::move(server), address.port, error);
}

std::string OriginHost(const std::string& host) {
  if (host == "localhost") return loopback::kHost;
  return host.find(':') == std::string::npos ? host : "[" + host + "]";
}

}  // namespace

LiveServer::LiveServer(LiveAnswers& answers) : answers_(answers) {}

LiveServer::~LiveServer() { Stop(); }

bool LiveServer::Start(const ListenAddress& address, std::string* error) {
  auto server = NewServer();
  LiveAnswers* answers = &answers_;
  const auto handler = [answers](const httplib::Request& request, httplib::Response& response) {
    try {
      const service::FixtureRequest asked{
          request.method, request.path, service::QueryParams(request.params.begin(), request.params.end())};
      service::FixtureAnswer answer = answers->Answer(asked);
      response.status = answer.status;
      response.set_header("Cache-Control", "no-store");
      response.set_content(std::move(answer.body), answer.contentType);
    } catch (...) {
      response.status = 500;
      response.set_content("live service failure\n", "text/plain; charset=utf-8");
    }
  };
  server->Get(".*", handler);
  server->Post(".*", handler);
  if (!Listen(listener_, std::move(server), address, error)) return false;
  host_ = OriginHost(address.host);
  return true;
}

void LiveServer::Stop() { listener_.Stop(); }

int LiveServer::Port() const { return listener_.Port(); }

std::string LiveServer::Origin() const {
  const int port = listener_.Port();
  return port == 0 ? std::string() : "http://" + host_ + ":" + std::to_string(port);
}

}  // namespace live
