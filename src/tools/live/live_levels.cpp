#include "live/live_levels.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "engine/answer_writer.h"
#include "formats/typed_time.h"
#include "live/locked_capture.h"
#include "live/served_symbols.h"

namespace live {
namespace {

using service::FailureEnvelope;
using service::FixtureAnswer;
using service::FixtureRequest;
using service::ParamValue;

bool IsLockedRequest(const FixtureRequest& request) { return ParamValue(request.params, "mode") == "locked"; }

bool ReadBasis(const service::QueryParams& params, std::string* basis) {
  *basis = ParamValue(params, "basis");
  if (basis->empty()) *basis = kDefaultBasis;
  return std::find(std::begin(kRequestBases), std::end(kRequestBases), *basis) != std::end(kRequestBases);
}

engine::FuturesMapping MappingOf(const SymbolConfig& symbol, const store::CaptureSummary& s) {
  engine::FuturesMapping mapping;
  mapping.symbol = symbol.future;
  const double ratio = s.provenance.conversionRatio;
  // The notes then say where the capture's ratio came from: a fixed ratio or a futures price.
  if (symbol.futurePrice.kind != ValueSource::Kind::kNone) {
    mapping.source = engine::FuturesMapping::Source::kFuturePrice;
    mapping.price = ratio * s.spot;
  } else {
    mapping.source = engine::FuturesMapping::Source::kRatio;
    mapping.ratio = ratio;
  }
  return mapping;
}

// The capture a request is served from: the locked one when asked for and there is one (its
// fields go into `stamp`), else the latest.
bool ServedCapture(const AnswerContext& c, const std::string& symbol, bool locked,
                   std::optional<store::CaptureRecord>* out, engine::ServiceStamp* stamp,
                   std::string* error) {
  if (locked) {
    std::optional<LockedCapture> found;
    if (!FindLockedCapture(*c.store, *c.services, symbol, c.clock->Now(), &found, error)) return false;
    if (found) {
      stamp->locked = true;
      stamp->lockedCapturedAt = formats::UtcTimestampText(static_cast<double>(found->capture.summary.asOf));
      stamp->lockedRefreshAfterUnix = found->refreshAfterUnix;
      stamp->lockedSession = found->session;
      *out = std::move(found->capture);
      return true;
    }
  }
  return c.store->Latest(symbol, out, error);
}

void AppendSized(std::string* key, const std::string& part) {
  *key += std::to_string(part.size());
  *key += ':';
  *key += part;
}

}  // namespace

FixtureAnswer AnswerLevels(const AnswerContext& c, const FixtureRequest& request, bool* lasting) {
  if (lasting != nullptr) *lasting = true;
  const std::string symbol = ParamValue(request.params, "symbol");
  if (symbol.empty()) return FailureEnvelope("missing_symbol", "The request names no symbol.");
  const ServedSymbol served = FindServedSymbol(*c.config, symbol, ParamValue(request.params, "source"));
  if (served.symbol == nullptr) {
    return FailureEnvelope("symbol_not_supported", NotCarriedMessage(*c.config, symbol));
  }
  engine::ServiceStamp stamp;
  if (!ReadBasis(request.params, &stamp.requestedBasis)) {
    return FailureEnvelope("invalid_basis",
                           "The basis is signed_flow, settlement_oi or estimated_oi; each is "
                           "answered with settlement_oi, the engine's one model.");
  }
  const std::string& name = served.symbol->name;
  std::optional<store::CaptureRecord> capture;
  std::string error;
  if (!ServedCapture(c, name, IsLockedRequest(request), &capture, &stamp, &error)) {
    if (c.log) c.log("levels of " + name + ": the capture history cannot be read: " + error);
    if (lasting != nullptr) *lasting = false;
    return FailureEnvelope("store_unavailable",
                           "The capture history cannot be read; the service's log says why.");
  }
  if (!capture) {
    return FailureEnvelope("no_capture", "No capture of " + name + " yet: its levels follow the first one.");
  }
  service::ChainLevels levels = StoredChainLevels(*capture, *served.symbol, c.services);
  levels.stamp = std::move(stamp);
  return service::AnswerChainLevels(levels, request);
}

std::string LevelsAnswerKey(const AnswerContext& c, const FixtureRequest& request) {
  service::QueryParams params = request.params;
  // By name only, so that repeated names keep their order (the first one counts).
  std::stable_sort(params.begin(), params.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::string key;
  for (const auto& [name, value] : params) {
    AppendSized(&key, name);
    AppendSized(&key, value);
  }
  if (IsLockedRequest(request)) key += "locked:" + LockedSessionAt(*c.services, c.clock->Now());
  return key;
}

service::ChainLevels StoredChainLevels(const store::CaptureRecord& capture, const SymbolConfig& symbol,
                                       platform::Services* services) {
  const store::CaptureSummary& s = capture.summary;
  service::ChainLevels levels;
  levels.chain.contracts = capture.contracts;
  levels.chain.underlying = s.symbol;
  levels.chain.hasSpot = true;
  levels.chain.spot = s.spot;
  levels.settings.hasSpot = true;
  levels.settings.spot = s.spot;
  levels.settings.asOf = std::to_string(s.asOf);
  levels.settings.rate = s.rate;
  levels.settings.dividend = s.dividend;
  levels.settings.symbol = s.symbol;
  if (!symbol.future.empty()) levels.settings.mapping = MappingOf(symbol, s);
  levels.services = services;
  return levels;
}

}  // namespace live
