// Readers of command-line values that more than one subcommand takes.
#pragma once

#include <string>

namespace cli {

// A whole decimal number from 0 to `max` (at most 9 digits, no sign); false for anything else.
bool ParseWholeArgument(const std::string& text, int max, int* out);

}  // namespace cli
