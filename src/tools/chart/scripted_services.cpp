#include "chart/scripted_services.h"

#include <algorithm>
#include <climits>
#include <thread>
#include <utility>

#include "platform/own_services.h"

namespace chart {
namespace {

// The worker this thread runs for; 0 on threads not started by StartDetachedThread.
thread_local long long tCurrentWorker = 0;

constexpr std::chrono::seconds kDestructorWait{30};

platform::HttpGetResult WithinLimits(unsigned status, std::string body,
                                     const platform::HttpGetLimits& limits) {
  platform::HttpGetResult result;
  if (body.size() > limits.maxBodyBytes) return result;  // status 0, no body
  result.status = status;
  if (status == 200) result.body = std::move(body);
  return result;
}

}  // namespace

ScriptedServices::ScriptedServices(const Clock& clock) : clock_(clock) {}

ScriptedServices::~ScriptedServices() { Shutdown(kDestructorWait); }

platform::CivilDate ScriptedServices::NewYorkDate(double utcSeconds) {
  return platform::OwnServices().NewYorkDate(utcSeconds);
}

double ScriptedServices::NewYorkUtcOffsetSeconds(double utcSeconds) {
  return platform::OwnServices().NewYorkUtcOffsetSeconds(utcSeconds);
}

platform::HttpGetResult ScriptedServices::HttpsGet(const std::string& url,
                                                   const platform::HttpGetLimits& limits) {
  Get get;
  get.worker = tCurrentWorker;
  get.limits = limits;
  std::unique_lock<std::mutex> lock(mutex_);
  const bool tracked = get.worker > 0 && get.worker <= static_cast<long long>(workerStart_.size());
  const double time = tracked ? workerStart_[static_cast<size_t>(get.worker - 1)] : clock_.Now();
  // Workers in start order; GETs from other threads after them, in arrival order.
  requests_.push_back({tracked ? get.worker : LLONG_MAX, {time, url}});
  std::stable_sort(requests_.begin(), requests_.end(),
                   [](const Request& a, const Request& b) { return a.order < b.order; });
  if (shutDown_) return {};
  waiting_.push_back(&get);
  changed_.notify_all();
  changed_.wait(lock, [&] { return get.answered; });
  return std::move(get.result);
}

bool ScriptedServices::StartDetachedThread(std::function<void()> work) {
  long long id = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (shutDown_) return false;
    id = nextWorker_++;
    running_.push_back(id);
    workerStart_.push_back(clock_.Now());
  }
  try {
    std::thread([this, id, work = std::move(work)]() mutable { RunWorker(id, work); }).detach();
    return true;
  } catch (...) {
    std::lock_guard<std::mutex> lock(mutex_);
    running_.erase(std::remove(running_.begin(), running_.end(), id), running_.end());
    changed_.notify_all();
    return false;
  }
}

void ScriptedServices::RunWorker(long long id, std::function<void()>& work) {
  tCurrentWorker = id;
  try {
    // The work and everything it holds are gone before the worker counts as finished, so the
    // code that owns them may be unloaded once Shutdown returns.
    std::function<void()> local = std::move(work);
    local();
  } catch (...) {
  }
  std::lock_guard<std::mutex> lock(mutex_);
  running_.erase(std::remove(running_.begin(), running_.end(), id), running_.end());
  changed_.notify_all();
}

bool ScriptedServices::AllSettledLocked() const {
  return std::all_of(running_.begin(), running_.end(), [this](long long id) {
    return std::any_of(waiting_.begin(), waiting_.end(), [id](const Get* get) { return get->worker == id; });
  });
}

bool ScriptedServices::WaitUntilSettled(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, timeout, [this] { return AllSettledLocked(); });
}

ResearchAnswerOutcome ScriptedServices::Answer(unsigned status, std::string body,
                                               std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (waiting_.empty()) return ResearchAnswerOutcome::kNonePending;
  Get* get = waiting_.front();
  waiting_.pop_front();
  const long long worker = get->worker;
  get->result = WithinLimits(status, std::move(body), get->limits);
  get->answered = true;  // `get` belongs to the waiting thread from here on
  changed_.notify_all();
  if (worker == 0) return ResearchAnswerOutcome::kAnswered;
  const bool finished = changed_.wait_for(
      lock, timeout, [&] { return std::find(running_.begin(), running_.end(), worker) == running_.end(); });
  return finished ? ResearchAnswerOutcome::kAnswered : ResearchAnswerOutcome::kWorkerStuck;
}

std::vector<ResearchRequestRecord> ScriptedServices::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<ResearchRequestRecord> records;
  records.reserve(requests_.size());
  for (const Request& request : requests_) records.push_back(request.record);
  return records;
}

bool ScriptedServices::Shutdown(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  shutDown_ = true;
  for (Get* get : waiting_) {
    get->result = {};
    get->answered = true;
  }
  waiting_.clear();
  changed_.notify_all();
  return changed_.wait_for(lock, timeout, [this] { return running_.empty(); });
}

}  // namespace chart
