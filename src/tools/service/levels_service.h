// The sample levels service on loopback: answers the levels, chart and research paths from
// sample files on a thread of its own, with the faults of its fault table.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "service/fault_injection.h"
#include "service/fixture_catalogue.h"

namespace service {

// One request as it reached the service.
struct RecordedRequest {
  std::string method;
  std::string target;                                        // path and query as sent, escapes kept
  std::vector<std::pair<std::string, std::string>> headers;  // sorted by name
  std::string body;
};

inline constexpr size_t kRecordedRequestLimit = 256;

class LevelsService {
 public:
  explicit LevelsService(FixtureCatalogue catalogue);
  // Stops the service when it still runs.
  ~LevelsService();
  LevelsService(const LevelsService&) = delete;
  LevelsService& operator=(const LevelsService&) = delete;

  // Binds 127.0.0.1 at `port` (0: any free port) and serves on its own thread; returns at
  // once. False with a reason when the port cannot be bound or the service already runs.
  bool Start(int port, std::string* error);
  // Ends the service: waiting answers (delays included) are cut short, open connections are
  // shut down whatever their clients do, the serving threads are joined. No effect when it does
  // not run. Not to be called from a request handler.
  void Stop();

  bool Running() const;
  // The bound port; 0 while not running.
  int Port() const;
  // "http://127.0.0.1:PORT"; empty while not running.
  std::string Origin() const;

  // The faults in force; may be changed while the service runs.
  FaultTable& Faults();
  // The latest requests, oldest first, at most kRecordedRequestLimit of them.
  std::vector<RecordedRequest> Requests() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace service
