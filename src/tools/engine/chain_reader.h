// Reads an option chain from a file or standard input, recognising its format by content.
#pragma once

#include <string>
#include <string_view>

#include "engine/option_chain.h"

namespace engine {

// The exchange JSON form when the first non-blank byte is '{', else CSV; false with a message
// as the reader gives it.
bool ReadChainText(std::string_view text, OptionChain* chain, std::string* error);

// Reads the whole file at `path` ("-" for standard input) and then ReadChainText; false with a
// message naming the path when it is not a regular file, cannot be read or is larger than
// formats::kMaxChainBytes.
bool ReadChainFile(const std::string& path, OptionChain* chain, std::string* error);

}  // namespace engine
