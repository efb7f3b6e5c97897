// A loopback HTTP server for the fetch tests: one path per kind of answer, and /hang, which
// holds its answer until the server stops.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "loopback/loopback_listener.h"

namespace live::testing {

class FetchTestServer {
 public:
  FetchTestServer() : listener_("the test server", [this] { Release(); }) {
    auto server = std::make_unique<loopback::BoundedServer>();
    server->Get("/chain", [](const httplib::Request&, httplib::Response& r) {
      r.set_content("{\"chain\":1}", "application/json");
    });
    server->Get("/echo", [](const httplib::Request& q, httplib::Response& r) {
      r.set_content(q.get_header_value("X-Key") + "|" + q.get_header_value("X-Empty") + "|" +
                        q.get_header_value("User-Agent"),
                    "text/plain");
    });
    server->Get("/to-chain", [](const httplib::Request&, httplib::Response& r) { r.set_redirect("/chain"); });
    server->Get("/to-ftp", [](const httplib::Request&, httplib::Response& r) {
      r.set_redirect("ftp://127.0.0.1/chain");
    });
    server->Get("/to-file",
                [](const httplib::Request&, httplib::Response& r) { r.set_redirect("file:///etc/passwd"); });
    server->Get("/loop", [](const httplib::Request&, httplib::Response& r) { r.set_redirect("/loop"); });
    server->Get("/big", [](const httplib::Request&, httplib::Response& r) {
      r.set_content(std::string(1001, 'x'), "text/plain");
    });
    server->Get("/big-chunked", [](const httplib::Request&, httplib::Response& r) {
      r.set_chunked_content_provider("text/plain", [](size_t, httplib::DataSink& sink) {
        const std::string part(600, 'x');
        sink.write(part.data(), part.size());
        sink.write(part.data(), part.size());
        sink.done();
        return true;
      });
    });
    server->Get("/exact", [](const httplib::Request&, httplib::Response& r) {
      r.set_content(std::string(1000, 'x'), "text/plain");
    });
    server->Get("/hang", [this](const httplib::Request&, httplib::Response& r) {
      std::unique_lock lock(mutex_);
      ++hanging_;
      released_.wait_for(lock, std::chrono::seconds(60), [this] { return listener_.Stopping(); });
      r.set_content("late", "text/plain");
    });
    std::string error;
    EXPECT_TRUE(listener_.Start(std::move(server), 0, &error)) << error;
  }

  std::string Url(const std::string& path) const { return listener_.Origin() + path; }
  int Hanging() {
    std::lock_guard lock(mutex_);
    return hanging_;
  }

 private:
  void Release() {
    { std::lock_guard lock(mutex_); }
    released_.notify_all();
  }

  std::mutex mutex_;
  std::condition_variable released_;
  int hanging_ = 0;
  loopback::Listener listener_;  // last: stopped first, while the rest still exists
};

}  // namespace live::testing
