// The program's way of ending a check that failed: the reason goes to the caller's error text.
#pragma once

#include <string>
#include <utility>

namespace cli {

// Stores `message` in `*error` and returns false, so that a failed check ends in one statement.
inline bool Fail(std::string* error, std::string message) {
  *error = std::move(message);
  return false;
}

}  // namespace cli
