// The chart page's server: cpp-httplib on loopback, its routes, the event streams and the
// request guard in front of them.
#include "web/page_server.h"

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include "loopback/loopback_listener.h"
#include "web/page_assets.h"
#include "web/request_guard.h"

namespace web {
namespace {

constexpr const char* kTokenMark = "@PAGE_TOKEN@";
constexpr const char* kPlainText = "text/plain; charset=utf-8";
// Idle event streams send a comment this often, so that nothing between the page and the
// server takes a quiet stream for a dead one.
constexpr std::chrono::seconds kKeepAliveInterval{10};
// How often a waiting event stream looks whether its page has gone, so that a closed page
// gives its stream's place back at once.
constexpr std::chrono::milliseconds kPageCheckInterval{100};

static_assert(kMaxChangeBodyBytes <= CPPHTTPLIB_FORM_URL_ENCODED_PAYLOAD_MAX_LENGTH,
              "cpp-httplib refuses larger form bodies by itself, with an empty 413");

const httplib::Headers& SecurityHeaders() {
  static const httplib::Headers headers = {
      {"Content-Security-Policy",
       "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self'; connect-src 'self'; "
       "base-uri 'none'; form-action 'none'; frame-ancestors 'none'"},
      {"X-Content-Type-Options", "nosniff"},
      {"X-Frame-Options", "DENY"},
      {"Referrer-Policy", "no-referrer"},
      {"Cache-Control", "no-store"},
  };
  return headers;
}

std::optional<std::string> HeaderIfSent(const httplib::Request& request, const char* name) {
  if (!request.has_header(name)) return std::nullopt;
  return request.get_header_value(name);
}

void SendText(httplib::Response& response, int status, const std::string& text) {
  response.status = status;
  response.set_content(text + "\n", kPlainText);
}

}  // namespace

struct PageServer::Impl {
  explicit Impl(ChangeHandlers h) : handlers(std::move(h)), token(NewPageToken()) {}

  httplib::Server::HandlerResponse Guard(const httplib::Request& request, httplib::Response& response);
  void ServePage(httplib::Response& response) const;
  void ServeEvents(httplib::Response& response);
  struct Stream;
  // The next message for `stream`: the newest frame, or a keep-alive comment when none came for
  // kKeepAliveInterval. False when the server stops or the page has gone.
  bool NextMessage(Stream& stream, httplib::DataSink& sink, std::string* message);
  void ServeChange(const std::function<Reply(const FormFields&)>& handler, const httplib::Request& request,
                   httplib::Response& response);
  void WakeStreams();

  const ChangeHandlers handlers;
  const std::string token;
  std::atomic<int> streams{0};

  std::mutex mutex;  // guards `version` and `frame`, and pairs with `wake`
  std::condition_variable wake;
  long long version = 0;  // 0: nothing published yet
  std::string frame;
  // Last, so that it stops (and joins the handlers) before what they use is gone.
  loopback::Listener listener{"the page server", [this] { WakeStreams(); }};
};

void PageServer::Impl::WakeStreams() {
  { std::lock_guard lock(mutex); }
  wake.notify_all();
}

httplib::Server::HandlerResponse PageServer::Impl::Guard(const httplib::Request& request,
                                                         httplib::Response& response) {
  const RequestFacts facts{request.method,
                           request.get_header_value("Host"),
                           HeaderIfSent(request, "Origin"),
                           HeaderIfSent(request, kTokenHeader),
                           request.get_header_value("Content-Type"),
                           request.get_header_value_count("Host")};
  const Verdict verdict = CheckRequest(facts, listener.Port(), token);
  if (verdict.status == 0) return httplib::Server::HandlerResponse::Unhandled;
  SendText(response, verdict.status, verdict.reason);
  return httplib::Server::HandlerResponse::Handled;
}

void PageServer::Impl::ServePage(httplib::Response& response) const {
  std::string html(FindAsset("/")->body);
  const size_t at = html.find(kTokenMark);
  if (at != std::string::npos) html.replace(at, std::string_view(kTokenMark).size(), token);
  response.set_content(html, "text/html; charset=utf-8");
}

// Shared by the provider's copies; the last one gives the stream's place back.
struct PageServer::Impl::Stream {
  explicit Stream(Impl* owner) : impl(owner) {}
  ~Stream() { impl->streams.fetch_sub(1); }
  Impl* impl;
  long long sent = 0;
};

bool PageServer::Impl::NextMessage(Stream& stream, httplib::DataSink& sink, std::string* message) {
  const auto keepAliveDue = std::chrono::steady_clock::now() + kKeepAliveInterval;
  std::unique_lock lock(mutex);
  while (!wake.wait_for(lock, kPageCheckInterval,
                        [&] { return listener.Stopping() || version != stream.sent; })) {
    if (std::chrono::steady_clock::now() >= keepAliveDue) {
      *message = ":\n\n";
      return true;
    }
    // The socket is asked without the lock: a page that reads nothing must not hold up Publish.
    lock.unlock();
    const bool pagePresent = sink.is_writable();
    lock.lock();
    if (!pagePresent) return false;
  }
  if (listener.Stopping()) return false;
  *message = "event: frame\ndata: " + frame + "\n\n";
  stream.sent = version;
  return true;
}

void PageServer::Impl::ServeEvents(httplib::Response& response) {
  if (streams.fetch_add(1) >= kMaxEventStreams) {
    streams.fetch_sub(1);
    SendText(response, 503, "too many open chart pages");
    return;
  }
  auto stream = std::make_shared<Stream>(this);
  response.set_chunked_content_provider("text/event-stream", [stream](size_t, httplib::DataSink& sink) {
    std::string message;
    if (!stream->impl->NextMessage(*stream, sink, &message)) {
      if (!stream->impl->listener.Stopping()) return false;  // the page has gone: drop its connection
      sink.done();
      return true;
    }
    return sink.write(message.data(), message.size());
  });
}

void PageServer::Impl::ServeChange(const std::function<Reply(const FormFields&)>& handler,
                                   const httplib::Request& request, httplib::Response& response) {
  const std::optional<FormFields> fields = ParseForm(request.body);
  if (!fields) return SendText(response, 400, "the form body has a broken %-escape");
  const Reply reply = handler ? handler(*fields) : Reply{404, "not found"};
  SendText(response, reply.status, reply.text);
}

PageServer::PageServer(ChangeHandlers handlers) : impl_(std::make_unique<Impl>(std::move(handlers))) {}

PageServer::~PageServer() { Stop(); }

bool PageServer::Start(int port, std::string* error) {
  loopback::ServerLimits limits;
  limits.bodyBytes = kMaxChangeBodyBytes;
  auto server = std::make_unique<loopback::BoundedServer>(limits);
  Impl* impl = impl_.get();
  server->set_default_headers(SecurityHeaders());
  server->set_pre_routing_handler([impl](const httplib::Request& request, httplib::Response& response) {
    return impl->Guard(request, response);
  });
  server->Get("/",
              [impl](const httplib::Request&, httplib::Response& response) { impl->ServePage(response); });
  server->Get("/events",
              [impl](const httplib::Request&, httplib::Response& response) { impl->ServeEvents(response); });
  server->Get("/api/frame", [impl](const httplib::Request&, httplib::Response& response) {
    std::lock_guard lock(impl->mutex);
    if (impl->version == 0) return SendText(response, 503, "the chart is not drawn yet");
    response.set_content(impl->frame, "application/json");
  });
  // Browsers ask for an icon by themselves; there is none, and that is no error.
  server->Get("/favicon.ico",
              [](const httplib::Request&, httplib::Response& response) { response.status = 204; });
  server->Get(".*", [](const httplib::Request& request, httplib::Response& response) {
    const PageAsset* asset = FindAsset(request.path);
    if (!asset || request.path == "/") return SendText(response, 404, "not found");
    response.set_content(std::string(asset->body), asset->contentType);
  });
  const std::pair<const char*, std::function<Reply(const FormFields&)> ChangeHandlers::*> routes[] = {
      {"/api/press", &ChangeHandlers::press},   {"/api/input", &ChangeHandlers::input},
      {"/api/colour", &ChangeHandlers::colour}, {"/api/view", &ChangeHandlers::view},
      {"/api/size", &ChangeHandlers::size},     {"/api/history", &ChangeHandlers::history},
  };
  for (const auto& [path, member] : routes) {
    if (!(impl->handlers.*member)) continue;
    server->Post(path, [impl, member = member](const httplib::Request& request, httplib::Response& response) {
      impl->ServeChange(impl->handlers.*member, request, response);
    });
  }
  server->Post(".*", [](const httplib::Request&, httplib::Response& response) {
    SendText(response, 404, "not found");
  });

  return impl_->listener.Start(std::move(server), port, error);
}

void PageServer::Stop() { impl_->listener.Stop(); }

std::string PageServer::Address() const {
  const std::string origin = impl_->listener.Origin();
  return origin.empty() ? origin : origin + "/";
}

int PageServer::Port() const { return impl_->listener.Port(); }

void PageServer::Publish(std::string frameJson) {
  {
    std::lock_guard lock(impl_->mutex);
    impl_->frame = std::move(frameJson);
    ++impl_->version;
  }
  impl_->wake.notify_all();
}

}  // namespace web
