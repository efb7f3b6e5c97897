// The JSON report of `ordinel replay`: the study's declarations, then every dump with what
// the platform observed up to it.
#pragma once

#include <cstddef>
#include <limits>
#include <string>

#include "jsonout/json_writer.h"
#include "replay/replay_session.h"

namespace replay {

struct LibraryIdentity {
  std::string dllName;
  int dllVersion = 0;
};

// The largest report `ordinel replay` prints: a scenario of a few kilobytes can ask for
// gigabytes of dumps.
inline constexpr size_t kMaxReportBytes = size_t{256} << 20;

// A report built dump by dump while the session runs (its DumpObserver), so that neither the
// report nor the session grows past the limit. Not copyable.
class ReportBuilder {
 public:
  explicit ReportBuilder(size_t limit = kMaxReportBytes);
  ReportBuilder(const ReportBuilder&) = delete;
  ReportBuilder& operator=(const ReportBuilder&) = delete;

  // Appends `dump` with what `session` has observed up to it. False with `*error` naming the
  // limit once the report has passed it; the report is incomplete then and nothing more is added.
  bool AddDump(const ReplaySession& session, const DumpRecord& dump, std::string* error);

  // The whole report, pretty-printed, ending with a line feed: the study's declarations as
  // `session` has them now, then the dumps added.
  // Requires: every AddDump call succeeded; Finish is called once.
  std::string Finish(const LibraryIdentity& library, const ReplaySession& session);

 private:
  size_t limit_;
  std::string text_;     // the report with a null in place of the study's declarations
  size_t studyEnd_ = 0;  // where that null ends
  jsonout::JsonWriter writer_;
};

// The whole report of a session that kept its dumps, as a ReportBuilder without a limit makes it.
std::string ReplayReport(const LibraryIdentity& library, const ReplaySession& session);

}  // namespace replay
