#include "cli/arguments.h"

namespace cli {

bool ParseWholeArgument(const std::string& text, int max, int* out) {
  if (text.empty() || text.size() > 9) return false;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value > max) return false;
  *out = value;
  return true;
}

}  // namespace cli
