#include "live/capture_builder.h"

#include <cmath>

#include "engine/answer_provenance.h"
#include "engine/answer_writer.h"
#include "engine/engine.h"
#include "engine/expiry_exposures.h"
#include "formats/typed_time.h"
#include "store/chain_digest.h"
#include "text/fail.h"
#include "text/format.h"

namespace live {
namespace {

std::optional<double> Kept(const engine::Level& level) {
  return level.has ? std::optional<double>(level.value) : std::nullopt;
}

store::KeyLevels KeyLevelsOf(const engine::Levels& l) {
  return {Kept(l.callWall),  Kept(l.putWall), Kept(l.gammaFlip),  Kept(l.volTrigger), Kept(l.maxPain),
          Kept(l.zeroGamma), Kept(l.zeroDex), Kept(l.callOiWall), Kept(l.putOiWall)};
}

// All expirations, no mapping: the stored levels stay in the underlying's units.
engine::EngineSettings SettingsFor(const engine::OptionChain& chain, const CaptureInputs& inputs) {
  engine::EngineSettings settings;
  settings.symbol = inputs.symbol;
  settings.hasSpot = inputs.spot.has_value();
  settings.spot = inputs.spot.value_or(0);
  if (chain.asOfText.empty()) settings.asOf = text::Format("%.0f", std::floor(inputs.fetchedAt));
  settings.rate = inputs.rate.value_or(engine::kDefaultRate);
  settings.dividend = inputs.dividend.value_or(engine::kDefaultDividend);
  return settings;
}

bool CheckChain(const engine::OptionChain& chain, const CaptureInputs& inputs, std::string* error) {
  if (!chain.underlying.empty() && chain.underlying != inputs.symbol) {
    return text::Fail(error, "the chain is of " + chain.underlying + ", not " + inputs.symbol);
  }
  if (!chain.hasSpot && !inputs.spot) {
    return text::Fail(error, "the chain carries no spot price: configure spot, spot_url or spot_command");
  }
  return true;
}

store::Provenance ProvenanceOf(const engine::EngineAnswer& a, const engine::FuturesMapping& future,
                               double ratio) {
  return {a.resolvedSymbol,
          engine::kEngineName,
          engine::ConversionMethodText(future),
          ratio,
          engine::ScopeText(a.expiry),
          engine::SelectedExpirationText(a.expiry),
          formats::UtcTimestampText(a.asOfSeconds),
          engine::RegimeText(a.levels.netGex)};
}

}  // namespace

bool BuildCapture(const engine::OptionChain& chain, const CaptureInputs& inputs, platform::Services& services,
                  store::CaptureRecord* out, std::string* error) {
  if (!CheckChain(chain, inputs, error)) return false;
  engine::EngineAnswer a;
  if (!engine::RunEngine(chain, SettingsFor(chain, inputs), services, &a, error)) return false;
  double ratio = 1;
  if (!engine::ConversionRatio(inputs.future, a.priced.market.spot, &ratio)) {
    return text::Fail(error, "the futures price or ratio is not a number above 0");
  }
  store::CaptureRecord r;
  store::CaptureSummary& s = r.summary;
  s.symbol = inputs.symbol;
  s.fetchedAt = static_cast<int64_t>(std::floor(inputs.fetchedAt));
  s.asOf = static_cast<int64_t>(std::floor(a.asOfSeconds));
  s.sessionDate = a.sessionDate;
  s.provenance = ProvenanceOf(a, inputs.future, ratio);
  s.spot = a.priced.market.spot;
  s.rate = a.priced.market.rate;
  s.dividend = a.priced.market.dividend;
  s.levels = KeyLevelsOf(a.levels);
  s.netGex = a.levels.netGex;
  s.netDex = a.levels.netDex;
  s.chainDigest = store::ChainDigest(chain.asOfText, chain.contracts);
  r.contracts = chain.contracts;
  for (const engine::ExpiryExposure& e : engine::ExposuresByStrikeAndExpiry(a.priced)) {
    r.exposures.push_back({e.strike, a.priced.expirations[e.expiry], e.gex, e.dex, e.vanna, e.charm});
  }
  *out = std::move(r);
  return true;
}

}  // namespace live
