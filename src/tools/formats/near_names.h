// How near a name someone typed is to the names a reader knows, for the messages that say which
// one was meant (an unknown option, an input label that matches none).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace formats {

// The edits (insert, delete, replace, swap of neighbours) from `a` to `b`. Costs the product of
// their lengths: callers keep one of them short.
size_t EditDistance(std::string_view a, std::string_view b);

// At most `most` names of `known` that `typed` may have meant, ASCII letter case and surrounding
// blanks aside: those a few edits from the whole of `typed` (one edit per four letters, one to
// three), then those that begin within that many edits of it, then those that hold it (these two
// for three letters typed or more); fewer edits first, then in the order of `known`. Empty when
// none is near.
std::vector<std::string> NearestNames(std::string_view typed, const std::vector<std::string>& known,
                                      size_t most);

}  // namespace formats
