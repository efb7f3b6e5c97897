// The lenient JSON grammar, read into a document's buffers.
#pragma once

#include <string_view>

#include "json/json_document.h"

namespace json::detail {

// Reads the first value of `text` (below 4 GiB): on kParsed *root is its slot and
// buffers->nodes holds every other value; on any other result both are to be discarded.
ParseResult ReadTree(std::string_view text, TreeBuffers* buffers, Slot* root);

}  // namespace json::detail
