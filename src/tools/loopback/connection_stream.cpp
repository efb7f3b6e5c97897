// Reads and writes of one connection, each bounded by a deadline; poll, never a blocking call.
#include "loopback/connection_stream.h"

#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace loopback {
namespace {

using Clock = ConnectionStream::Clock;

// What a peer that hung up or a shut-down socket shows besides (or instead of) readiness.
constexpr short kGone = POLLHUP | POLLERR | POLLNVAL;

int MillisecondsUntil(Clock::time_point until) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
  return static_cast<int>(std::clamp<long long>(left, 0, 60'000));
}

void NumericAddress(const sockaddr_storage& address, socklen_t length, std::string& ip, int& port) {
  char host[NI_MAXHOST];
  if (getnameinfo(reinterpret_cast<const sockaddr*>(&address), length, host, sizeof(host), nullptr, 0,
                  NI_NUMERICHOST) != 0) {
    return;
  }
  ip = host;
  if (address.ss_family == AF_INET) port = ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
  if (address.ss_family == AF_INET6) port = ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
}

}  // namespace

ConnectionStream::ConnectionStream(socket_t socket, std::chrono::milliseconds writeWait)
    : socket_(socket), writeWait_(writeWait) {}

int ConnectionStream::Wait(short events, Clock::time_point until) const {
  for (;;) {
    pollfd entry{socket_, events, 0};
    const int ready = poll(&entry, 1, MillisecondsUntil(until));
    if (ready > 0) return entry.revents;
    if (ready == 0 && Clock::now() >= until) return 0;
    if (ready < 0 && errno != EINTR) return -1;
  }
}

bool ConnectionStream::AwaitRequest(std::chrono::milliseconds idle) {
  if (begin_ < end_) return true;
  const int events = Wait(POLLIN, Clock::now() + idle);
  return events > 0;
}

void ConnectionStream::BeginRequest(Clock::time_point deadline, size_t budget) {
  deadline_ = deadline;
  budget_ = budget;
  deadlineMissed_ = false;
}

bool ConnectionStream::is_readable() const {
  if (begin_ < end_) return budget_ > 0;
  return budget_ > 0 && Wait(POLLIN, deadline_) > 0;
}

bool ConnectionStream::is_writable() const {
  const int events = Wait(POLLOUT | POLLRDHUP, Clock::now() + writeWait_);
  return events > 0 && (events & (kGone | POLLRDHUP)) == 0 && (events & POLLOUT) != 0;
}

ssize_t ConnectionStream::read(char* ptr, size_t size) {
  if (budget_ == 0) return -1;
  while (begin_ == end_) {
    // Checked before each wait, so that a peer trickling bytes cannot outlast the deadline.
    const int events = Clock::now() < deadline_ ? Wait(POLLIN, deadline_) : 0;
    if (events == 0) deadlineMissed_ = true;
    if (events <= 0) return -1;
    const ssize_t received = recv(socket_, buffer_.data(), buffer_.size(), MSG_DONTWAIT);
    if (received == 0) return 0;
    if (received < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
      return -1;
    }
    begin_ = 0;
    end_ = static_cast<size_t>(received);
  }
  const size_t count = std::min({size, end_ - begin_, budget_});
  std::memcpy(ptr, buffer_.data() + begin_, count);
  begin_ += count;
  budget_ -= count;
  return static_cast<ssize_t>(count);
}

ssize_t ConnectionStream::write(const char* ptr, size_t size) {
  const Clock::time_point until = Clock::now() + writeWait_;
  for (;;) {
    const ssize_t sent = send(socket_, ptr, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent >= 0) return sent;
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return -1;
    const int events = Wait(POLLOUT, until);
    if (events <= 0 || (events & kGone) != 0) return -1;
  }
}

void ConnectionStream::get_remote_ip_and_port(std::string& ip, int& port) const {
  ip.clear();
  port = 0;
  sockaddr_storage address{};
  socklen_t length = sizeof(address);
  if (getpeername(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    NumericAddress(address, length, ip, port);
}

void ConnectionStream::get_local_ip_and_port(std::string& ip, int& port) const {
  ip.clear();
  port = 0;
  sockaddr_storage address{};
  socklen_t length = sizeof(address);
  if (getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    NumericAddress(address, length, ip, port);
}

}  // namespace loopback
