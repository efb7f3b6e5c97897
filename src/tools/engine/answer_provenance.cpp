#include "engine/answer_provenance.h"

namespace engine {

std::string ConversionMethodText(const FuturesMapping& mapping) {
  return mapping.source == FuturesMapping::Source::kNone ? "none" : "ratio";
}

std::string ScopeText(const ExpiryChoice& expiry) {
  return expiry.mode == "legacy" ? "all_expirations" : "selected_expirations";
}

std::string SelectedExpirationText(const ExpiryChoice& expiry) {
  return expiry.used.size() == 1 ? expiry.used.front() : "";
}

std::string RegimeText(double netGex) { return netGex >= 0 ? "positive_gamma" : "negative_gamma"; }

}  // namespace engine
