// A thread per connection up to a cap; past it the connection is refused on the accepting thread.
#include "loopback/connection_threads.h"

#include <system_error>
#include <utility>

namespace loopback {
namespace {

thread_local bool tOverCap = false;

void RunOverCap(const std::function<void()>& task) {
  tOverCap = true;
  task();
  tOverCap = false;
}

}  // namespace

ConnectionThreads::ConnectionThreads(size_t cap) : cap_(cap) {}

ConnectionThreads::~ConnectionThreads() { shutdown(); }

bool ConnectionThreads::OverCapHere() { return tOverCap; }

void ConnectionThreads::JoinFinished() {
  for (auto it = workers_.begin(); it != workers_.end();) {
    // A worker marks itself done last, so its join returns at once and never needs mutex_.
    if (!it->done) {
      ++it;
      continue;
    }
    it->thread.join();
    it = workers_.erase(it);
  }
}

void ConnectionThreads::enqueue(std::function<void()> task) {
  std::unique_lock lock(mutex_);
  JoinFinished();
  if (workers_.size() < cap_) {
    Worker& worker = workers_.emplace_back();
    try {
      worker.thread = std::thread([this, &worker, task] {
        task();
        std::lock_guard done(mutex_);
        worker.done = true;
      });
      return;
    } catch (const std::system_error&) {
      workers_.pop_back();
    }
  }
  lock.unlock();
  RunOverCap(task);
}

void ConnectionThreads::shutdown() {
  std::list<Worker> all;
  {
    std::lock_guard lock(mutex_);
    all.swap(workers_);
  }
  for (Worker& worker : all) {
    if (worker.thread.joinable()) worker.thread.join();
  }
}

}  // namespace loopback
