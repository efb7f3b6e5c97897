// The base of the benchmark programs that print one table at the end: each benchmark stands
// for its median when it was repeated, else for its only run; errors go to the error stream.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace bench {

class MedianReporter : public benchmark::BenchmarkReporter {
 public:
  bool ReportContext(const Context& context) override {
    PrintBasicContext(&GetErrorStream(), context);
    return true;
  }

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) {
        GetErrorStream() << run.benchmark_name() << ": " << run.error_message << "\n";
        continue;
      }
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type == Run::RT_Aggregate && !median) continue;
      if (median || seen_[run.run_name.function_name]++ == 0) Keep(run);
    }
  }

 protected:
  // The run that stands for its benchmark: the first one, then its median when repeated.
  virtual void Keep(const Run& run) = 0;

 private:
  std::map<std::string, int> seen_;
};

}  // namespace bench
