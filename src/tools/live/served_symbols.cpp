#include "live/served_symbols.h"

#include "study/symbol_resolution.h"

namespace live {
namespace {

constexpr size_t kEchoedSymbolBytes = 32;

const SymbolConfig* ByName(const LiveConfig& config, std::string_view name) {
  for (const SymbolConfig& s : config.symbols) {
    if (s.name == name) return &s;
  }
  return nullptr;
}

const SymbolConfig* ByFuture(const LiveConfig& config, std::string_view future) {
  for (const SymbolConfig& s : config.symbols) {
    if (!s.future.empty() && s.future == future) return &s;
  }
  return nullptr;
}

}  // namespace

ServedSymbol FindServedSymbol(const LiveConfig& config, std::string_view requested, std::string_view source) {
  if (requested.empty()) return {};
  if (const SymbolConfig* direct = ByName(config, requested)) return {direct, false};
  const SymbolConfig* mapped = ByFuture(config, requested);
  if (mapped == nullptr || (!source.empty() && source != mapped->name)) return {};
  return {mapped, true};
}

std::string ExpectedResearchSource(std::string_view requested, std::string_view source) {
  return study::ResearchSourceForSymbol(requested, source);
}

ServedSymbol FindResearchSymbol(const LiveConfig& config, std::string_view requested,
                                std::string_view source) {
  const std::string underlying = ExpectedResearchSource(requested, source);
  const SymbolConfig* symbol = ByName(config, underlying);
  if (requested.empty() || symbol == nullptr) return {};
  if (requested == symbol->name) return {symbol, false};
  if (requested == symbol->future) return {symbol, true};
  return {};
}

std::string CarriedSymbolsText(const LiveConfig& config) {
  std::string text;
  for (const SymbolConfig& s : config.symbols) {
    if (!text.empty()) text += ", ";
    text += s.name;
    if (!s.future.empty()) text += ", " + s.future + " (from " + s.name + ")";
  }
  return text;
}

std::string NotCarriedMessage(const LiveConfig& config, std::string_view requested) {
  return "This service carries " + CarriedSymbolsText(config) + "; not '" +
         std::string(requested.substr(0, kEchoedSymbolBytes)) + "'.";
}

}  // namespace live
