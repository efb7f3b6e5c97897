// What one fetch of a source (a URL, a file, a command) came to.
#pragma once

namespace live {

enum class FetchStatus {
  kFetched,    // the bytes arrived
  kUnchanged,  // a file source that did not change since it was last read: nothing was read
  kFailed,     // with a reason
  kStopped,    // the stop signal cut it short
};

}  // namespace live
