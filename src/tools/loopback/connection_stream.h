// One accepted connection as cpp-httplib reads and writes it, with the bounds a slow or hostile
// peer must not escape: a request's head and body arrive by one deadline within a byte budget,
// and every wait for the peer ends when the connection is shut down.
#pragma once

#include <httplib.h>

#include <array>
#include <chrono>
#include <string>

namespace loopback {

class ConnectionStream : public httplib::Stream {
 public:
  using Clock = std::chrono::steady_clock;

  // Requires: `socket` is a connected stream socket that outlives the object. Each write waits
  // at most `writeWait` for the peer to take bytes.
  ConnectionStream(socket_t socket, std::chrono::milliseconds writeWait);

  // True once the next request's first byte is here (or the peer closed, which the read then
  // reports); false when `idle` passes first or the socket fails.
  bool AwaitRequest(std::chrono::milliseconds idle);
  // Opens the next request: reads fail once `deadline` has passed or `budget` bytes are read.
  void BeginRequest(Clock::time_point deadline, size_t budget);
  // True when the open request's deadline ran out while a read waited for it.
  bool DeadlineMissed() const { return deadlineMissed_; }

  // True when bytes can be read before the deadline.
  bool is_readable() const override;
  // True when the peer takes bytes within the write wait and has not closed its side: a peer
  // that hung up (an event stream's closed page) is seen at once.
  bool is_writable() const override;
  // Up to `size` bytes of the open request; 0 when the peer closed, -1 past the deadline or the
  // budget, or on a failed socket.
  ssize_t read(char* ptr, size_t size) override;
  // Sends what the peer takes of `size` bytes; -1 when it takes nothing within the write wait.
  ssize_t write(const char* ptr, size_t size) override;
  // The numeric addresses of the two ends; empty and 0 when the socket cannot tell.
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  socket_t socket() const override { return socket_; }

 private:
  // Waits for `events` until `until`; the returned events, 0 on timeout, -1 on failure.
  int Wait(short events, Clock::time_point until) const;

  const socket_t socket_;
  const std::chrono::milliseconds writeWait_;
  std::array<char, 4096> buffer_{};
  size_t begin_ = 0;  // buffer_[begin_, end_) was received and not yet read
  size_t end_ = 0;
  Clock::time_point deadline_ = Clock::now();
  size_t budget_ = 0;
  bool deadlineMissed_ = false;
};

}  // namespace loopback
