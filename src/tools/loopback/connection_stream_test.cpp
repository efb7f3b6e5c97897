#include "loopback/connection_stream.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <future>
#include <thread>

namespace loopback {
namespace {

using std::chrono::milliseconds;
using Clock = ConnectionStream::Clock;

// The two ends of a connected stream socket: ours (the server's) and the peer's.
struct SocketPair {
  SocketPair() { EXPECT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0); }
  ~SocketPair() {
    for (const int end : ends) {
      if (end >= 0) close(end);
    }
  }
  void ClosePeer() {
    close(ends[1]);
    ends[1] = -1;
  }
  int ends[2] = {-1, -1};
};

std::string ReadAll(ConnectionStream& stream) {
  std::string read;
  char buffer[64];
  for (ssize_t got; (got = stream.read(buffer, sizeof(buffer))) > 0;)
    read.append(buffer, static_cast<size_t>(got));
  return read;
}

// Each byte in time is no help to a peer whose request as a whole is late.
TEST(ConnectionStream, ATricklingPeerCannotOutlastTheRequestDeadline) {
  SocketPair pair;
  std::atomic<bool> stop{false};
  std::thread peer([&] {
    const auto end = Clock::now() + milliseconds(3000);
    while (!stop && Clock::now() < end && send(pair.ends[1], "x", 1, MSG_NOSIGNAL) == 1) {
      std::this_thread::sleep_for(milliseconds(5));
    }
  });
  ConnectionStream stream(pair.ends[0], milliseconds(1000));
  const auto start = Clock::now();
  stream.BeginRequest(start + milliseconds(200), 1 << 20);
  char byte = 0;
  size_t read = 0;
  while (stream.read(&byte, 1) == 1) ++read;
  const auto took = Clock::now() - start;
  stop = true;
  peer.join();
  EXPECT_TRUE(stream.DeadlineMissed());
  EXPECT_GT(read, 0u) << "bytes before the deadline are read";
  EXPECT_LT(took, milliseconds(1500)) << "the reads ended at the deadline";
}

// What is past the budget stays for the next request, as a pipelined request does.
TEST(ConnectionStream, ReadsStopAtTheBudgetAndKeepTheRestForTheNextRequest) {
  SocketPair pair;
  ASSERT_EQ(send(pair.ends[1], "0123456789", 10, 0), 10);
  ConnectionStream stream(pair.ends[0], milliseconds(1000));
  stream.BeginRequest(Clock::now() + milliseconds(100), 4);
  EXPECT_EQ(ReadAll(stream), "0123");
  EXPECT_FALSE(stream.DeadlineMissed()) << "the budget ended the reads";
  EXPECT_TRUE(stream.AwaitRequest(milliseconds(0))) << "the rest is already here";
  stream.BeginRequest(Clock::now() + milliseconds(100), 100);
  EXPECT_EQ(ReadAll(stream), "456789");
}

TEST(ConnectionStream, AwaitsARequestOnlyForTheIdleTime) {
  SocketPair pair;
  ConnectionStream stream(pair.ends[0], milliseconds(1000));
  EXPECT_FALSE(stream.AwaitRequest(milliseconds(20)));
  ASSERT_EQ(send(pair.ends[1], "G", 1, 0), 1);
  EXPECT_TRUE(stream.AwaitRequest(milliseconds(1000)));
}

// An event stream's page that closes must be seen at once, not after the write wait.
TEST(ConnectionStream, APeerThatHungUpIsNotWritable) {
  SocketPair pair;
  ConnectionStream stream(pair.ends[0], milliseconds(20000));
  EXPECT_TRUE(stream.is_writable());
  pair.ClosePeer();
  const auto start = Clock::now();
  EXPECT_FALSE(stream.is_writable());
  EXPECT_EQ(stream.write("data", 4), -1);
  EXPECT_LT(Clock::now() - start, milliseconds(5000));
}

// Stop shuts the sockets down; a read that waits for a silent peer must end then.
TEST(ConnectionStream, AShutDownSocketEndsAWaitingRead) {
  SocketPair pair;
  ConnectionStream stream(pair.ends[0], milliseconds(1000));
  stream.BeginRequest(Clock::now() + milliseconds(60000), 100);
  auto reading = std::async(std::launch::async, [&] {
    char byte = 0;
    return stream.read(&byte, 1);
  });
  EXPECT_EQ(reading.wait_for(milliseconds(50)), std::future_status::timeout) << "the peer sent nothing";
  shutdown(pair.ends[0], SHUT_RDWR);
  ASSERT_EQ(reading.wait_for(milliseconds(5000)), std::future_status::ready);
  EXPECT_EQ(reading.get(), 0);
}

}  // namespace
}  // namespace loopback
