// Test support for what happens on a server's or a transfer's own threads, which a test can
// only poll: waiting for it with a deadline; and raw clients, to play the ones no HTTP library
// would be (slow, silent, hanging up).
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <thread>

namespace loopback::testing {

// Polls `done` every two milliseconds; true once it holds, false when `timeout` passes first.
inline bool WaitFor(const std::function<bool()>& done,
                    std::chrono::milliseconds timeout = std::chrono::milliseconds(10000)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

// A TCP connection to a port of this machine that sends exactly the bytes it is given.
class RawClient {
 public:
  // Connects to `host`:`port` (IPv4); Connected() tells whether it did.
  explicit RawClient(int port, const char* host = "127.0.0.1") {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (fd_ >= 0 && (inet_pton(AF_INET, host, &address.sin_addr) != 1 ||
                     connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0)) {
      Close();
    }
  }
  ~RawClient() { Close(); }
  RawClient(RawClient&& other) noexcept
      : fd_(other.fd_), received_(std::move(other.received_)), peerClosed_(other.peerClosed_) {
    other.fd_ = -1;
  }
  RawClient(const RawClient&) = delete;
  RawClient& operator=(const RawClient&) = delete;

  bool Connected() const { return fd_ >= 0; }
  // True when every byte went out.
  bool Send(std::string_view bytes) {
    while (fd_ >= 0 && !bytes.empty()) {
      const ssize_t sent = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (sent <= 0) return false;
      bytes.remove_prefix(static_cast<size_t>(sent));
    }
    return fd_ >= 0;
  }
  // Reads until the server closes the connection (true: an end or a reset) or `timeout`
  // passes (false); what came is in Received().
  bool ReadUntilClosed(std::chrono::milliseconds timeout) {
    ReadUntil([] { return false; }, timeout);
    return peerClosed_;
  }
  // Reads until Received() holds `text` (true), the server closes or `timeout` passes (false).
  bool ReadUntilSeen(std::string_view text, std::chrono::milliseconds timeout) {
    const auto seen = [this, text] { return received_.find(text) != std::string::npos; };
    ReadUntil(seen, timeout);
    return seen();
  }
  const std::string& Received() const { return received_; }
  void Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  void ReadUntil(const std::function<bool()>& enough, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (fd_ >= 0 && !peerClosed_ && !enough()) {
      const auto left =
          std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd ready{fd_, POLLIN, 0};
      if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) != 1) return;
      char buffer[4096];
      const ssize_t got = recv(fd_, buffer, sizeof(buffer), 0);
      if (got <= 0) peerClosed_ = true;
      if (got > 0) received_.append(buffer, static_cast<size_t>(got));
    }
  }

  int fd_ = -1;
  std::string received_;
  bool peerClosed_ = false;
};

}  // namespace loopback::testing
