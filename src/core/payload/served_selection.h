// What a levels answer says about the expirations it served, read once so that the selection
// check and the coverage note never go back to the JSON.
#pragma once

#include "calendar/expiry_selection.h"
#include "json/json_node.h"

namespace payload {

// The answer's "expiry_selection" block and root "selected_expirations"; a missing or mistyped
// member reads as empty.
calendar::ServedSelection ReadServedSelection(json::Node root);

}  // namespace payload
