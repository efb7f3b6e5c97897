#include "service/chain_levels.h"

#include "engine/answer_writer.h"
#include "engine/futures_mapping.h"
#include "service/expiry_request.h"

namespace service {
namespace {

std::string Underlying(const ChainLevels& levels) {
  return levels.settings.symbol.empty() ? levels.chain.underlying : levels.settings.symbol;
}

std::string MappedSymbol(const ChainLevels& levels) {
  const engine::FuturesMapping& mapping = levels.settings.mapping;
  return mapping.symbol.empty() ? engine::FutureSymbolOf(Underlying(levels)) : mapping.symbol;
}

// The engine's settings for a request of `symbol`, or false when the chain cannot serve it.
bool SettingsFor(const ChainLevels& levels, const std::string& symbol, engine::EngineSettings* settings) {
  *settings = levels.settings;
  const bool mapped = levels.settings.mapping.source != engine::FuturesMapping::Source::kNone;
  if (mapped && !symbol.empty() && symbol == MappedSymbol(levels)) return true;
  settings->mapping = engine::FuturesMapping{};
  return !symbol.empty() && symbol == Underlying(levels);
}

}  // namespace

FixtureAnswer AnswerChainLevels(const ChainLevels& levels, const FixtureRequest& request) {
  const std::string symbol = ParamValue(request.params, "symbol");
  engine::EngineSettings settings;
  if (!SettingsFor(levels, symbol, &settings)) {
    return FailureEnvelope("symbol_not_supported",
                           "This chain serves " + Underlying(levels) +
                               (levels.settings.mapping.source == engine::FuturesMapping::Source::kNone
                                    ? std::string()
                                    : " and " + MappedSymbol(levels)) +
                               ", not '" + symbol + "'.");
  }
  RequestedExpiry requested;
  std::string error;
  if (!ReadRequestedExpiry(request.params, &requested, &error)) {
    return FailureEnvelope("invalid_expiry_selection", error);
  }
  settings.expiry = engine::ExpiryRequest{requested.mode, requested.dates};
  engine::EngineAnswer answer;
  if (!engine::RunEngine(levels.chain, settings, *levels.services, &answer, &error)) {
    return FailureEnvelope("engine_failed", error);
  }
  FixtureAnswer out;
  out.body = engine::LevelsAnswerJson(answer, levels.stamp);
  return out;
}

bool CheckChainLevels(const ChainLevels& levels, std::string* error) {
  engine::EngineAnswer answer;
  return engine::RunEngine(levels.chain, levels.settings, *levels.services, &answer, error);
}

}  // namespace service
