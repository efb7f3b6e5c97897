// Which sample file answers which request of the sample levels service. The catalogue knows
// nothing of HTTP servers: it maps a decoded request to a status, a content type and a body.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace service {

inline constexpr std::string_view kLevelsPath = "/extension/levels";
inline constexpr std::string_view kVixChartPath = "/v8/finance/chart/^VIX";  // %5EVIX decoded
inline constexpr std::string_view kQqqChartPath = "/v8/finance/chart/QQQ";
inline constexpr std::string_view kResearchPath = "/market-context/indicator-research";

// The one symbol the sample answers describe; every other symbol gets a failure envelope.
inline constexpr std::string_view kServedSymbol = "NQ";

using QueryParams = std::vector<std::pair<std::string, std::string>>;

// One request as the catalogue sees it.
struct FixtureRequest {
  std::string method;  // "GET" or "POST"; both are answered alike
  std::string path;    // percent-decoded, without the query
  QueryParams params;  // percent-decoded query pairs, in any order
};

struct FixtureAnswer {
  int status = 200;
  std::string contentType = "application/json";
  std::string body;
};

// Where the sample files are and what time it is for the answers that depend on the date.
struct FixtureCatalogue {
  std::string dataDir;
  // Seconds since 1970 UTC; the system clock when empty.
  std::function<double()> nowSeconds;
  // Answers the levels path instead of the sample files when set (levels computed from an
  // option chain, see chain_levels.h).
  std::function<FixtureAnswer(const FixtureRequest&)> levels = {};
};

// The answer to `request`: the levels path from legacy/locked/extended answers (see
// levels_answer.h), the two chart paths from vix_chart.json and qqq_chart.json, the research
// path from research_<SYMBOL>_<DAY>.json or research_<SYMBOL>.json, and 404 for anything
// else. A sample file that cannot be read gives 500 with a plain-text reason.
FixtureAnswer AnswerRequest(const FixtureCatalogue& catalogue, const FixtureRequest& request);

// The value of the first query pair named `key`; empty when there is none.
std::string ParamValue(const QueryParams& params, std::string_view key);

// True for a file name without directory parts that may be served from the data directory
// (letters, digits, '_', '-' and '.', not starting with '.', at most 128 bytes).
bool IsSafeFileName(std::string_view name);

// Reads the file `name` of the data directory into `out`; false for an unsafe name or a file
// that cannot be read or is larger than formats::kMaxAnswerBytes.
bool ReadDataFile(const FixtureCatalogue& catalogue, std::string_view name, std::string* out);

// The catalogue's current time in seconds since 1970 UTC.
double CatalogueNow(const FixtureCatalogue& catalogue);

// A levels failure envelope ("ok" false, "connected" true) with the given error and message.
FixtureAnswer FailureEnvelope(std::string_view error, std::string_view message);

// A plain-text answer with `status`, used for 404 and for sample files that are missing.
FixtureAnswer PlainAnswer(int status, std::string_view text);

}  // namespace service
