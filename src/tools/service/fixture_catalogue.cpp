// Routing of the sample service's requests to its sample files.
#include "service/fixture_catalogue.h"

#include <chrono>

#include "formats/file_io.h"
#include "jsonout/json_tree.h"
#include "service/levels_answer.h"

namespace service {
namespace {

using jsonout::JsonBool;
using jsonout::JsonObject;
using jsonout::JsonString;
using jsonout::SetMember;

constexpr size_t kMaxFileNameBytes = 128;

FixtureAnswer FileAnswer(const FixtureCatalogue& catalogue, std::string_view name) {
  FixtureAnswer answer;
  if (!ReadDataFile(catalogue, name, &answer.body)) {
    return PlainAnswer(500, "sample file missing: " + std::string(name) + "\n");
  }
  return answer;
}

// A capture for the exact day wins over the symbol's general one; neither gives 404, as a
// service without a capture for that day would answer.
FixtureAnswer ResearchAnswer(const FixtureCatalogue& catalogue, const FixtureRequest& request) {
  const std::string symbol = ParamValue(request.params, "symbol");
  const std::string day = ParamValue(request.params, "day");
  const std::string candidates[] = {"research_" + symbol + "_" + day + ".json",
                                    "research_" + symbol + ".json"};
  for (const std::string& name : candidates) {
    FixtureAnswer answer;
    if (!symbol.empty() && ReadDataFile(catalogue, name, &answer.body)) return answer;
  }
  FixtureAnswer missing;
  missing.status = 404;
  jsonout::Tree body = JsonObject();
  SetMember(&body, "ok", JsonBool(false));
  SetMember(&body, "error", JsonString("no_capture"));
  SetMember(&body, "message", JsonString("No research capture for " + symbol + " on " + day + "."));
  missing.body = jsonout::JsonText(body, jsonout::JsonWriter::Layout::kCompact);
  return missing;
}

}  // namespace

FixtureAnswer AnswerRequest(const FixtureCatalogue& catalogue, const FixtureRequest& request) {
  if (request.path == kLevelsPath) {
    return catalogue.levels ? catalogue.levels(request) : AnswerLevels(catalogue, request);
  }
  if (request.path == kVixChartPath) return FileAnswer(catalogue, "vix_chart.json");
  if (request.path == kQqqChartPath) return FileAnswer(catalogue, "qqq_chart.json");
  if (request.path == kResearchPath) return ResearchAnswer(catalogue, request);
  return PlainAnswer(404, "not found: " + request.path + "\n");
}

std::string ParamValue(const QueryParams& params, std::string_view key) {
  for (const auto& [name, value] : params) {
    if (name == key) return value;
  }
  return {};
}

bool IsSafeFileName(std::string_view name) {
  if (name.empty() || name.size() > kMaxFileNameBytes || name.front() == '.') return false;
  for (const char c : name) {
    const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                         c == '_' || c == '-' || c == '.';
    if (!allowed) return false;
  }
  return true;
}

bool ReadDataFile(const FixtureCatalogue& catalogue, std::string_view name, std::string* out) {
  if (out == nullptr || !IsSafeFileName(name)) return false;
  std::string ignored;
  return formats::ReadFileWithin(catalogue.dataDir + "/" + std::string(name), formats::kMaxAnswerBytes, out,
                                 &ignored);
}

double CatalogueNow(const FixtureCatalogue& catalogue) {
  if (catalogue.nowSeconds) return catalogue.nowSeconds();
  using namespace std::chrono;
  return duration<double>(system_clock::now().time_since_epoch()).count();
}

FixtureAnswer FailureEnvelope(std::string_view error, std::string_view message) {
  jsonout::Tree body = JsonObject();
  SetMember(&body, "ok", JsonBool(false));
  SetMember(&body, "connected", JsonBool(true));
  SetMember(&body, "error", JsonString(error));
  SetMember(&body, "message", JsonString(message));
  FixtureAnswer answer;
  answer.body = jsonout::JsonText(body, jsonout::JsonWriter::Layout::kCompact);
  return answer;
}

FixtureAnswer PlainAnswer(int status, std::string_view text) {
  FixtureAnswer answer;
  answer.status = status;
  answer.contentType = "text/plain; charset=utf-8";
  answer.body = std::string(text);
  return answer;
}

}  // namespace service
