// The one way a check ends in failure across the code: the reason goes to the caller's error
// text and the check returns false.
#pragma once

#include <string>
#include <utility>

namespace text {

// Stores `message` in `*error` and returns false, so that a failed check ends in one statement.
inline bool Fail(std::string* error, std::string message) {
  *error = std::move(message);
  return false;
}

}  // namespace text
