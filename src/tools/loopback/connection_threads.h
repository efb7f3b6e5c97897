// The task queue a bounded server hands its accepted connections to: a thread per connection
// up to a cap, so that slow connections never make a well-behaved one wait for a free worker.
#pragma once

#include <httplib.h>

#include <functional>
#include <list>
#include <mutex>
#include <thread>

namespace loopback {

class ConnectionThreads : public httplib::TaskQueue {
 public:
  // Requires: `cap` > 0.
  explicit ConnectionThreads(size_t cap);
  // Joins what still runs.
  ~ConnectionThreads() override;

  // Runs `task` on a thread of its own while fewer than the cap run; otherwise (or when no
  // thread can start) runs it at once on the calling thread, where OverCapHere() is true
  // meanwhile, so that the task refuses its connection instead of serving it.
  void enqueue(std::function<void()> task) override;
  // Joins every thread; the tasks must end by themselves (their connections shut down).
  void shutdown() override;

  // True inside a task that enqueue ran on its caller's thread because the cap was reached.
  static bool OverCapHere();

 private:
  struct Worker {
    std::thread thread;
    bool done = false;  // set by the worker as its last act, under mutex_
  };

  // Joins the workers whose task has ended. Requires: mutex_ held.
  void JoinFinished();

  const size_t cap_;
  std::mutex mutex_;
  std::list<Worker> workers_;  // a list: each worker keeps its element's address
};

}  // namespace loopback
