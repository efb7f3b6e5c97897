// Faults the sample service injects per path, so that slow, failing and malformed answers can
// be produced on demand: from the command line, or by tests while the service runs.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "service/fixture_catalogue.h"

namespace service {

inline constexpr int kMaxFaultDelayMs = 600000;
inline constexpr int64_t kMaxFaultBodyBytes = int64_t{1} << 30;

// One fault; the parts combine (a delay with a status, say). The text text of each part is
// given in brackets.
struct Fault {
  int delayMs = 0;             // [delay=MS] wait before answering
  int status = 0;              // [status=CODE] replaces the answer's status when not 0
  bool html = false;           // [html] an HTML error page instead (status 502 unless set)
  std::string file;            // [file=NAME] a file of the data directory instead
  bool truncate = false;       // [truncate] half the body, [truncate=N] its first N bytes
  int64_t truncateBytes = -1;  // -1: half
  int64_t oversizeBytes = 0;   // [oversize=N] the body padded with blanks to N bytes
  bool drop = false;           // [drop] headers sent, then the connection closes, no body
  std::string redirect;        // [redirect=PATH] a redirect to PATH (302 unless status is set)
  int count = 0;               // [count=N] expires after N requests; 0 lasts until cleared
};

// Reads a comma-separated list of the parts above, e.g. "delay=300,status=503" or "drop".
// False with a reason for an unknown or repeated part, a malformed or out-of-range number
// (delay 0..600000, status 100..599, sizes 0..2^30, count 1..1000000), an unsafe file name, a
// redirect target that is not a path of visible characters starting with '/', or an empty list.
bool ParseFaultText(std::string_view text, Fault* out, std::string* error);

// Reads "PATH=FAULT" as given to --fault: PATH is a request path ("/extension/levels", percent
// escapes allowed), "*" for every path, or one of the names levels, vix, qqq, research.
// `path` receives the path key (see FaultPathKey). False with a reason for a bad argument.
bool ParseFaultArgument(std::string_view argument, std::string* path, Fault* out, std::string* error);

// The key faults are stored under: the alias's path, "*", or the percent-decoded path.
std::string FaultPathKey(std::string_view pathOrAlias);

// The status, content type and body of `answer` after the fault's file, html, redirect, status
// and truncate parts; the delay, oversize and drop parts and the redirect's Location header
// belong to the transport and are left out.
FixtureAnswer ApplyFaultToAnswer(const Fault& fault, const FixtureCatalogue& catalogue, FixtureAnswer answer);

// The faults in force, per path. Safe from any thread.
class FaultTable {
 public:
  // Puts `fault` in force for `path` (a path or alias as in ParseFaultArgument).
  void Set(std::string_view path, const Fault& fault);
  // The fault for the decoded request `path`, else the one for "*"; none when neither is set.
  // A counted fault is used up by this call and removed after its last use.
  std::optional<Fault> Take(std::string_view path);

 private:
  std::mutex mutex_;
  std::map<std::string, Fault, std::less<>> faults_;
};

}  // namespace service
