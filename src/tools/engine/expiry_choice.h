// Which expirations an answer is computed from, following the expiry selection of the levels
// request, and what the answer echoes back so the study accepts it.
#pragma once

#include <string>
#include <vector>

namespace engine {

// As the levels URL asks: "legacy" (no tail), "multi" with or without dates, "specific" with one
// date, "0dte".
struct ExpiryRequest {
  std::string mode = "legacy";
  std::vector<std::string> dates;
};

struct ExpiryChoice {
  std::string mode;
  std::vector<std::string> echoed;  // "selected_expirations"; empty for legacy
  std::vector<std::string> used;    // expirations whose contracts enter the answer, ascending
};

inline constexpr size_t kMaxEchoedExpirations = 24;

// Legacy uses every live expiration and echoes nothing; multi without dates uses and echoes the
// nearest 24; multi and specific echo the dates asked for and use those the chain has; 0dte
// echoes and uses `sessionDate`. `live` is ascending. False, with a message, for an unknown
// mode, more than 24 dates, a date that is not a real YYYY-MM-DD, "specific" without exactly
// one date, or a selection that leaves no contract.
bool ChooseExpirations(const ExpiryRequest& request, const std::vector<std::string>& live,
                       const std::string& sessionDate, ExpiryChoice* out, std::string* error);

}  // namespace engine
