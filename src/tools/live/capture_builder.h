// One capture computed from a fetched option chain: the engine's levels over all expirations in
// the underlying's own units, with everything the store keeps so that any expiry selection, the
// futures mapping or a restart can be computed again from it.
#pragma once

#include <optional>
#include <string>

#include "engine/futures_mapping.h"
#include "engine/option_chain.h"
#include "platform/services.h"
#include "store/capture_record.h"

namespace live {

// What a capture is computed with besides the chain.
struct CaptureInputs {
  std::string symbol;                    // the configured underlying, "QQQ"
  double fetchedAt = 0;                  // when the chain arrived, seconds since 1970 UTC
  std::optional<double> spot;            // instead of the chain's own
  std::optional<double> rate, dividend;  // empty: the engine's defaults
  // The configured future: kNone without one, kRatio with the fixed ratio, kFuturePrice with the
  // price fetched for this capture.
  engine::FuturesMapping future;
};

// The capture of `chain` into `*out` (its id left 0 for the store to give). The as-of time is
// the chain's own, else `inputs.fetchedAt`; the provenance texts are those a levels answer of
// the configured future (or of the underlying, without one) would carry, the conversion ratio
// the one to the future at this capture. False with a message, `*out` untouched, when the chain
// names another underlying, has no spot and none is given, or the engine refuses it.
bool BuildCapture(const engine::OptionChain& chain, const CaptureInputs& inputs, platform::Services& services,
                  store::CaptureRecord* out, std::string* error);

}  // namespace live
