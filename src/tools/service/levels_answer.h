// The levels path of the sample service: which sample answer a levels request gets, by symbol,
// snapshot mode, extended flag and expiry selection.
#pragma once

#include <string>

#include "service/fixture_catalogue.h"

namespace service {

// The sample file for a levels request of the served symbol: "extended.json" when the query
// has extended=1 (also together with mode=locked, since the extended layers are what such a
// request is for), else "locked.json" for mode=locked, else "legacy.json".
std::string LevelsFileName(const QueryParams& params);

// The answer to a levels request (GET or POST alike; the body and the basis are not read):
// - no symbol, or one other than NQ: a failure envelope ("missing_symbol" or
//   "symbol_not_supported") with status 200, as the service reports its own refusals;
// - an expiry selection it cannot honour: the failure envelope "invalid_expiry_selection";
// - legacy selection: the sample file byte for byte;
// - any other selection: the sample file with "expiry_selection" and "selected_expirations"
//   naming the requested mode and dates (see expiry_request.h);
// - a sample file that is missing, or not a JSON object where it must be rewritten: 500.
FixtureAnswer AnswerLevels(const FixtureCatalogue& catalogue, const FixtureRequest& request);

}  // namespace service
