// Platform services for scripted sessions: the research GET blocks until the script answers it,
// worker threads are tracked so the script can wait for them, New York dates come from the
// operating-system layer linked in (the tz database, or the Windows time-zone API).
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "chart/clock.h"
#include "platform/services.h"

namespace chart {

struct ResearchRequestRecord {
  double time = 0;  // the clock when the worker that asked was started
  std::string url;
};

enum class ResearchAnswerOutcome {
  kAnswered,     // the GET returned and its worker finished
  kNonePending,  // no GET was waiting
  kWorkerStuck,  // the GET returned but its worker did not finish in time
};

class ScriptedServices : public platform::Services {
 public:
  // Requires: `clock` outlives this object.
  explicit ScriptedServices(const Clock& clock);
  // Releases waiting GETs with status 0 and waits briefly for the workers (see Shutdown).
  ~ScriptedServices() override;

  platform::CivilDate NewYorkDate(double utcSeconds) override;
  double NewYorkUtcOffsetSeconds(double utcSeconds) override;
  // Records the request and blocks until Answer or Shutdown releases it. The answer follows
  // the limits: a body longer than `limits.maxBodyBytes` gives status 0 and no body, and a
  // body is kept only with status 200.
  platform::HttpGetResult HttpsGet(const std::string& url, const platform::HttpGetLimits& limits) override;
  // Runs `work` on a detached thread whose end the script can wait for.
  bool StartDetachedThread(std::function<void()> work) override;

  // Waits until every worker has finished or is waiting in HttpsGet; false on timeout.
  bool WaitUntilSettled(std::chrono::milliseconds timeout);
  // Answers the oldest waiting GET, then waits for its worker to finish.
  ResearchAnswerOutcome Answer(unsigned status, std::string body, std::chrono::milliseconds timeout);
  // Every GET so far, in the order the workers were started.
  std::vector<ResearchRequestRecord> Requests() const;
  // Releases every waiting GET with status 0 and refuses later ones at once; then waits for
  // all workers to finish. False when some are still running at the timeout, in which case
  // this object must be kept alive.
  bool Shutdown(std::chrono::milliseconds timeout);

 private:
  struct Get {
    long long worker = 0;  // 0 for a thread not started here
    platform::HttpGetLimits limits;
    bool answered = false;
    platform::HttpGetResult result;
  };
  struct Request {
    long long order = 0;
    ResearchRequestRecord record;
  };
  void RunWorker(long long id, std::function<void()>& work);
  bool AllSettledLocked() const;

  const Clock& clock_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  long long nextWorker_ = 1;
  std::vector<long long> running_;   // workers whose work has not returned
  std::vector<double> workerStart_;  // start time by worker id - 1
  std::deque<Get*> waiting_;         // GETs blocked in HttpsGet, oldest first
  std::vector<Request> requests_;
  bool shutDown_ = false;
};

}  // namespace chart
