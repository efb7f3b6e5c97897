#include "live/live_server.h"

#include <httplib.h>

#include <memory>
#include <utility>

namespace live {
namespace {

// The study sends "{}"; nothing it sends comes near this.
constexpr size_t kMaxRequestBodyBytes = 64 * 1024;

std::unique_ptr<loopback::BoundedServer> NewServer() {
  loopback::ServerLimits limits;
  limits.bodyBytes = kMaxRequestBodyBytes;
  return std::make_unique<loopback::BoundedServer>(limits);
}

// "localhost" names the loopback address; every other host is bound as given.
std::string BindHost(const std::string& host) { return host == "localhost" ? loopback::kHost : host; }

}  // namespace

LiveServer::LiveServer(LiveAnswers& answers) : answers_(answers) {}

LiveServer::~LiveServer() { Stop(); }

bool LiveServer::Start(const ListenAddress& address, std::string* error) {
  auto server = NewServer();
  LiveAnswers* answers = &answers_;
  const auto handler = [answers](const httplib::Request& request, httplib::Response& response) {
    try {
      const service::FixtureRequest asked{request.method, request.path,
                                          service::QueryParams(request.params.begin(), request.params.end())};
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
  return listener_.Start(std::move(server), address.port, error, BindHost(address.host));
}

void LiveServer::Stop() { listener_.Stop(); }

int LiveServer::Port() const { return listener_.Port(); }

std::string LiveServer::Origin() const { return listener_.Origin(); }

}  // namespace live
