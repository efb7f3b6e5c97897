// `ordinel service --config FILE`: the live levels service, which the service command runs when
// it is given a configuration.
#pragma once

#include <string>

namespace cli {

// The live service's clock for tests (--clock-start, --clock-rate): a session lives through
// minutes in seconds, on a day the test chooses.
struct LiveTestClock {
  double start = 0;  // seconds since 1970 (UTC) at the service's start; 0: the wall clock's
  double rate = 1;   // clock seconds per real second
};

// The fastest --clock-rate of the live service.
inline constexpr double kMaxServiceClockRate = 3600;

// Reads the configuration at `configPath`, opens its store, captures and answers until SIGINT or
// SIGTERM, then stops both sides within two seconds. Returns kExitInvalid after the problems
// of a configuration or store that cannot be used (the store is never overwritten),
// kExitFailed when the service cannot start, else kExitOk. `testClock` left at its defaults
// is the system clock.
//
// A test hook: when the environment names a file in ORDINEL_TEST_HOLD_CAPTURE, a capture that
// finds that file present when its rows are written but not yet committed creates FILE.held
// and waits until FILE is removed (or the process is killed), so that a test can kill the
// service in the middle of a capture.
int RunLiveService(const std::string& configPath, const LiveTestClock& testClock);

}  // namespace cli
