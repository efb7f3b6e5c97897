// The sample levels service: cpp-httplib server on loopback, its thread and its handler.
#include "service/levels_service.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "loopback/loopback_listener.h"

namespace service {
namespace {

constexpr size_t kStreamChunkBytes = 64 * 1024;
constexpr size_t kMaxRequestBodyBytes = 1 << 20;

// httplib files the peer's address among the headers; they are no part of the request.
bool IsPseudoHeader(const std::string& name) {
  return name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" || name == "LOCAL_PORT";
}

}  // namespace

struct LevelsService::Impl {
  explicit Impl(FixtureCatalogue c) : catalogue(std::move(c)) {}

  void Handle(const httplib::Request& request, httplib::Response& response);
  void Record(const httplib::Request& request);
  // Waits `ms` milliseconds; false when the service began to stop meanwhile.
  bool Wait(int ms);
  bool Stopping() const { return listener.Stopping(); }
  void WakeWaiting();
  void SendOversized(FixtureAnswer answer, size_t total, httplib::Response& response);

  const FixtureCatalogue catalogue;
  FaultTable faults;

  mutable std::mutex mutex;  // guards `requests` and pairs with `wake`
  std::condition_variable wake;
  std::deque<RecordedRequest> requests;
  // Last, so that it stops (and joins the handlers) before what they use is gone.
  loopback::Listener listener{"the sample service", [this] { WakeWaiting(); }};
};

void LevelsService::Impl::Record(const httplib::Request& request) {
  RecordedRequest record{request.method, request.target, {}, request.body};
  for (const auto& [name, value] : request.headers) {
    if (!IsPseudoHeader(name)) record.headers.emplace_back(name, value);
  }
  std::lock_guard lock(mutex);
  requests.push_back(std::move(record));
  while (requests.size() > kRecordedRequestLimit) requests.pop_front();
}

bool LevelsService::Impl::Wait(int ms) {
  std::unique_lock lock(mutex);
  return !wake.wait_for(lock, std::chrono::milliseconds(ms), [this] { return Stopping(); });
}

void LevelsService::Impl::WakeWaiting() {
  { std::lock_guard lock(mutex); }
  wake.notify_all();
}

// Streams the answer and then blanks up to `total` bytes, without holding them in memory.
void LevelsService::Impl::SendOversized(FixtureAnswer answer, size_t total, httplib::Response& response) {
  auto body = std::make_shared<const std::string>(std::move(answer.body));
  auto blanks = std::make_shared<const std::string>(kStreamChunkBytes, ' ');
  response.set_content_provider(total, answer.contentType,
                                [this, body, blanks](size_t offset, size_t length, httplib::DataSink& sink) {
                                  if (Stopping()) return false;
                                  size_t count = std::min(length, kStreamChunkBytes);
                                  if (offset < body->size()) {
                                    count = std::min(count, body->size() - offset);
                                    return sink.write(body->data() + offset, count);
                                  }
                                  return sink.write(blanks->data(), count);
                                });
}

void LevelsService::Impl::Handle(const httplib::Request& request, httplib::Response& response) {
  Record(request);
  const std::optional<Fault> fault = faults.Take(request.path);
  if (fault && fault->delayMs > 0 && !Wait(fault->delayMs)) {
    response.status = 503;
    response.set_content("sample service stopping\n", "text/plain; charset=utf-8");
    return;
  }
  const FixtureRequest fixtureRequest{request.method, request.path,
                                      QueryParams(request.params.begin(), request.params.end())};
  FixtureAnswer answer = AnswerRequest(catalogue, fixtureRequest);
  if (fault) answer = ApplyFaultToAnswer(*fault, catalogue, std::move(answer));
  response.status = answer.status;
  if (fault && !fault->redirect.empty()) response.set_header("Location", fault->redirect);
  if (fault && fault->drop) {
    // The headers promise a body that never comes: the client sees the connection drop.
    const size_t promised = std::max<size_t>(answer.body.size(), 1);
    response.set_content_provider(promised, answer.contentType,
                                  [](size_t, size_t, httplib::DataSink&) { return false; });
    return;
  }
  if (fault && static_cast<size_t>(fault->oversizeBytes) > answer.body.size()) {
    SendOversized(std::move(answer), static_cast<size_t>(fault->oversizeBytes), response);
    return;
  }
  response.set_content(std::move(answer.body), answer.contentType);
}

LevelsService::LevelsService(FixtureCatalogue catalogue)
    : impl_(std::make_unique<Impl>(std::move(catalogue))) {}

LevelsService::~LevelsService() { Stop(); }

bool LevelsService::Start(int port, std::string* error) {
  loopback::ServerLimits limits;
  // One request per connection: no idle keep-alive client holds a thread of the service.
  limits.requestsPerConnection = 1;
  limits.bodyBytes = kMaxRequestBodyBytes;
  auto server = std::make_unique<loopback::BoundedServer>(limits);
  Impl* impl = impl_.get();
  const auto handler = [impl](const httplib::Request& request, httplib::Response& response) {
    try {
      impl->Handle(request, response);
    } catch (...) {
      response.status = 500;
      response.set_content("sample service failure\n", "text/plain; charset=utf-8");
    }
  };
  server->Get(".*", handler);
  server->Post(".*", handler);
  return impl_->listener.Start(std::move(server), port, error);
}

void LevelsService::Stop() { impl_->listener.Stop(); }

bool LevelsService::Running() const { return impl_->listener.Running(); }

int LevelsService::Port() const { return impl_->listener.Port(); }

std::string LevelsService::Origin() const { return impl_->listener.Origin(); }

FaultTable& LevelsService::Faults() { return impl_->faults; }

std::vector<RecordedRequest> LevelsService::Requests() const {
  std::lock_guard lock(impl_->mutex);
  return {impl_->requests.begin(), impl_->requests.end()};
}

}  // namespace service
