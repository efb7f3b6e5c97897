// Readers of the public daily chart answers that feed the fear score: the VIX level and the
// five-day realised volatility of QQQ.
#pragma once

#include "json/json_node.h"

namespace context {

// The VIX level from chart.result[0].meta.regularMarketPrice; false (and *level untouched)
// unless it is a finite number above 0.
bool VixFromChart(json::Node root, double* level);

// Annualised sample volatility of the last five log returns of
// chart.result[0].indicators.quote[0].close, counting only finite JSON numbers above 0.
// False with fewer than six such closes, a wrong shape or a non-finite result.
bool RealizedVolFromChart(json::Node root, double* volatility);

}  // namespace context
