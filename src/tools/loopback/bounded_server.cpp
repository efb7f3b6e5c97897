// The bounded server: cpp-httplib's request parsing and routing over connections it runs itself.
// cpp-httplib 0.11 waits for each header line as long as the peer keeps sending, serves from a
// fixed pool of threads and has no way to end a connection that is being served; here every
// connection gets a thread up to a cap, a stream whose reads end at the request's deadline, and
// a place in a registry that Stop shuts down.
#include "loopback/bounded_server.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "loopback/connection_stream.h"
#include "loopback/connection_threads.h"

namespace loopback {
namespace {

using Clock = ConnectionStream::Clock;

// What the current thread's connection knows of the request it serves.
struct Serving {
  ConnectionStream* stream = nullptr;
  bool lastRequest = false;  // cpp-httplib announces Connection: close on this answer itself
  bool routed = false;       // a handler of the owner answered
  bool closeAfter = false;   // the answer refused the request: the connection ends with it
};

thread_local Serving* tServing = nullptr;

constexpr const char* kPlainText = "text/plain; charset=utf-8";
// How long Stop lets the answers of woken handlers go out before it cuts their connections.
constexpr std::chrono::milliseconds kStopGrace{250};

std::string ReasonFor(int status, size_t bodyBytes) {
  switch (status) {
    case 408: return "the request did not arrive in time\n";
    case 413: return "the request body is over " + std::to_string(bodyBytes) + " bytes\n";
    case 414: return "the request line is too long\n";
    case 503: return "the server has too many connections\n";
    default: return status < 500 ? "bad request\n" : "the server failed\n";
  }
}

// Sent without waiting: the answer is small and the socket's buffer empty.
void RefuseAsBusy(socket_t socket) {
  const std::string reason = ReasonFor(503, 0);
  const std::string answer =
      "HTTP/1.1 503 Service Unavailable\r\nConnection: close\r\nContent-Type: " + std::string(kPlainText) +
      "\r\nContent-Length: " + std::to_string(reason.size()) + "\r\n\r\n" + reason;
  (void)send(socket, answer.data(), answer.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
}

void CloseSocket(socket_t socket) {
  shutdown(socket, SHUT_RDWR);
  close(socket);
}

// cpp-httplib holds only an announced length to the body limit, a chunked body it takes whole.
httplib::Server::Handler Routed(httplib::Server::Handler handler, size_t bodyBytes) {
  return [handler = std::move(handler), bodyBytes](const httplib::Request& request,
                                                   httplib::Response& response) {
    if (request.body.size() > bodyBytes) {
      response.status = 413;
      response.set_content(ReasonFor(413, bodyBytes), kPlainText);
      return;
    }
    if (tServing) tServing->routed = true;
    handler(request, response);
  };
}

}  // namespace

BoundedServer::BoundedServer(ServerLimits limits) : limits_(limits) {
  // httplib's default adds SO_REUSEPORT, which lets a second server bind a port that one already
  // listens on and share its requests.
  set_socket_options([](socket_t socket) {
    const int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
    // Accepted connections inherit it: without it a kept-alive client waits out the delayed
    // acknowledgement (some 40 ms) before each answer's last segment.
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof(yes));
  });
  set_payload_max_length(limits_.bodyBytes);
  // Only the Keep-Alive header shows these; ServeConnection enforces them.
  set_keep_alive_max_count(limits_.requestsPerConnection);
  set_keep_alive_timeout(std::chrono::ceil<std::chrono::seconds>(limits_.idle).count());
  set_error_handler(HandlerWithResponse([this](const httplib::Request& request, httplib::Response& response) {
    Serving* serving = tServing;
    if (!serving) return HandlerResponse::Unhandled;
    if (response.status == 400 && serving->stream->DeadlineMissed()) response.status = 408;
    // A refused request's body may be unread: the connection cannot carry another request.
    serving->closeAfter = true;
    if (!serving->lastRequest && request.get_header_value("Connection") != "close") {
      response.set_header("Connection", "close");
    }
    if (!serving->routed && response.body.empty())
      response.set_content(ReasonFor(response.status, limits_.bodyBytes), kPlainText);
    return HandlerResponse::Unhandled;
  }));
  new_task_queue = [cap = limits_.connections] { return new ConnectionThreads(cap); };
}

BoundedServer::~BoundedServer() = default;

BoundedServer& BoundedServer::Get(const std::string& pattern, httplib::Server::Handler handler) {
  httplib::Server::Get(pattern, Routed(std::move(handler), limits_.bodyBytes));
  return *this;
}

BoundedServer& BoundedServer::Post(const std::string& pattern, httplib::Server::Handler handler) {
  httplib::Server::Post(pattern, Routed(std::move(handler), limits_.bodyBytes));
  return *this;
}

int BoundedServer::Bind(const std::string& host, int port) {
  const int bound = port == 0 ? bind_to_any_port(host) : (bind_to_port(host, port) ? port : -1);
  // cpp-httplib listens with a backlog of 5: a burst of connections beyond it waits for the
  // clients' SYN retries, a second and more.
  if (bound > 0) ::listen(svr_sock_, SOMAXCONN);
  return bound;
}

void BoundedServer::CloseConnections() {
  std::unique_lock lock(mutex_);
  closing_ = true;
  for (const socket_t socket : open_) shutdown(socket, SHUT_RD);
  closed_.wait_for(lock, kStopGrace, [this] { return open_.empty(); });
  for (const socket_t socket : open_) shutdown(socket, SHUT_RDWR);
}

bool BoundedServer::Register(socket_t socket) {
  std::lock_guard lock(mutex_);
  if (closing_) return false;
  open_.insert(socket);
  return true;
}

void BoundedServer::Unregister(socket_t socket) {
  {
    std::lock_guard lock(mutex_);
    open_.erase(socket);
  }
  closed_.notify_all();
}

bool BoundedServer::process_and_close_socket(socket_t socket) {
  if (ConnectionThreads::OverCapHere()) {
    RefuseAsBusy(socket);
    CloseSocket(socket);
    return false;
  }
  if (!Register(socket)) {
    CloseSocket(socket);
    return false;
  }
  const bool served = ServeConnection(socket);
  // Out of the registry before the number can be reused by another connection.
  Unregister(socket);
  CloseSocket(socket);
  return served;
}

bool BoundedServer::ServeConnection(socket_t socket) {
  ConnectionStream stream(socket, limits_.write);
  Serving serving;
  tServing = &serving;
  bool served = true;
  for (size_t count = 1; stream.AwaitRequest(limits_.idle); ++count) {
    serving = Serving{&stream, count >= limits_.requestsPerConnection};
    // Room for the head and for a chunked body's framing around limits_.bodyBytes.
    stream.BeginRequest(Clock::now() + limits_.request, kMaxRequestHeadBytes + 2 * limits_.bodyBytes);
    bool peerCloses = false;
    served = process_request(stream, serving.lastRequest, peerCloses, nullptr);
    if (!served || peerCloses || serving.closeAfter || serving.lastRequest) break;
  }
  tServing = nullptr;
  return served;
}

}  // namespace loopback
