// Levels answers of the sample service.
#include "service/levels_answer.h"

#include "json/json_document.h"
#include "jsonout/json_tree.h"
#include "service/expiry_request.h"

namespace service {

std::string LevelsFileName(const QueryParams& params) {
  if (ParamValue(params, "extended") == "1") return "extended.json";
  if (ParamValue(params, "mode") == "locked") return "locked.json";
  return "legacy.json";
}

FixtureAnswer AnswerLevels(const FixtureCatalogue& catalogue, const FixtureRequest& request) {
  const std::string symbol = ParamValue(request.params, "symbol");
  if (symbol.empty()) {
    return FailureEnvelope("missing_symbol", "The levels request names no symbol.");
  }
  if (symbol != kServedSymbol) {
    return FailureEnvelope("symbol_not_supported",
                           "The sample levels service has a map for NQ only, not " + symbol + ".");
  }
  RequestedExpiry requested;
  std::string reason;
  if (!ReadRequestedExpiry(request.params, &requested, &reason)) {
    return FailureEnvelope("invalid_expiry_selection",
                           "Expiry selection cannot be honoured: " + reason + ".");
  }
  const std::string name = LevelsFileName(request.params);
  FixtureAnswer answer;
  if (!ReadDataFile(catalogue, name, &answer.body)) {
    return PlainAnswer(500, "sample file missing: " + name + "\n");
  }
  if (requested.mode == "legacy") return answer;

  json::Document document;
  if (document.Parse(answer.body) != json::ParseResult::kParsed || !document.Root().IsObject()) {
    return PlainAnswer(500, "sample file is not a JSON object: " + name + "\n");
  }
  jsonout::Tree root = jsonout::CopyNode(document.Root());
  const double now = CatalogueNow(catalogue);
  StampExpirySelection(requested, SelectedExpirations(requested, now), now, &root);
  answer.body = jsonout::JsonText(root, jsonout::JsonWriter::Layout::kCompact);
  return answer;
}

}  // namespace service
