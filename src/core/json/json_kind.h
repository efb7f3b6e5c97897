// The six kinds of JSON value, shared by the owning value tree and the flat document tree.
#pragma once

#include <cstdint>

namespace json {

enum Kind : int32_t { kNull = 0, kBoolean = 1, kNumber = 2, kString = 3, kArray = 4, kObject = 5 };

}  // namespace json
