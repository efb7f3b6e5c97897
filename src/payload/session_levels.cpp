// Session references: prior day, opening range, overnight inventory, VWAP bands and the
// trading-period ranges with the midnight open.
#include "payload/section_lookup.h"
#include "payload/section_readers.h"

namespace payload {

void ReadSessionRefs(const json::Value& root, const json::Value& levelBlock,
                     LevelsSnapshot* snapshot) {
  const json::Value* refs = RootIfObjectElseBlock(root, levelBlock, "session_refs");
  if (!IsObject(refs)) return;
  ReadLevel(refs, "pdh", &snapshot->priorDayHigh);
  ReadLevel(refs, "pdl", &snapshot->priorDayLow);
  ReadLevel(refs, "rth_open", &snapshot->rthOpen);
  const json::Value* range = json::Member(*refs, "or30");
  if (!IsObject(range)) range = json::Member(*refs, "or15");
  ReadRange(range, &snapshot->openingRange);
}

void ReadOvernightInventory(const json::Value& root, const json::Value& levelBlock,
                            LevelsSnapshot* snapshot) {
  const json::Value* inventory = RootIfObjectElseBlock(root, levelBlock, "overnight_inventory");
  ReadLevel(inventory, "prior_rth_close", &snapshot->priorRthClose);
  ReadLevel(inventory, "onh", &snapshot->overnightHigh);
  ReadLevel(inventory, "onl", &snapshot->overnightLow);
}

void ReadVwapRegime(const json::Value& root, const json::Value& levelBlock,
                    LevelsSnapshot* snapshot) {
  const json::Value* regime = RootIfObjectElseBlock(root, levelBlock, "vwap_regime");
  if (!IsObject(regime)) return;
  ReadLevel(regime, "vwap", &snapshot->vwap);
  static constexpr const char* kBandKeys[kVwapBandCount] = {"band1", "band2", "band3"};
  for (int k = 0; k < kVwapBandCount; ++k) {
    const json::Value* band = json::Member(*regime, kBandKeys[k]);
    ReadLevel(band, "plus", &snapshot->vwapBandPlus[k]);
    ReadLevel(band, "minus", &snapshot->vwapBandMinus[k]);
  }
}

void ReadTradingPeriods(const json::Value& root, const json::Value& levelBlock,
                        LevelsSnapshot* snapshot) {
  const json::Value* sessions = RootIfObjectElseBlock(root, levelBlock, "ict_sessions");
  if (!IsObject(sessions)) return;
  ReadRange(json::Member(*sessions, "asia"), &snapshot->asiaRange);
  ReadRange(json::Member(*sessions, "london"), &snapshot->londonRange);
  ReadRange(json::Member(*sessions, "ny_am"), &snapshot->nyAmRange);
  ReadLevel(sessions, "midnight_open", &snapshot->midnightOpen);
}

}  // namespace payload
