// Session references: prior day, opening range, overnight inventory, VWAP bands and the
// trading-period ranges with the midnight open.
#include "payload/section_lookup.h"
#include "payload/section_readers.h"

namespace payload {

void ReadSessionRefs(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot) {
  json::Node refs = RootIfObjectElseBlock(root, levelBlock, "session_refs");
  if (!refs.IsObject()) return;
  ReadLevel(refs, "pdh", &snapshot->priorDayHigh);
  ReadLevel(refs, "pdl", &snapshot->priorDayLow);
  ReadLevel(refs, "rth_open", &snapshot->rthOpen);
  json::Node range = json::Member(refs, "or30");
  if (!range.IsObject()) range = json::Member(refs, "or15");
  ReadRange(range, &snapshot->openingRange);
}

void ReadOvernightInventory(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot) {
  json::Node inventory = RootIfObjectElseBlock(root, levelBlock, "overnight_inventory");
  ReadLevel(inventory, "prior_rth_close", &snapshot->priorRthClose);
  ReadLevel(inventory, "onh", &snapshot->overnightHigh);
  ReadLevel(inventory, "onl", &snapshot->overnightLow);
}

void ReadVwapRegime(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot) {
  json::Node regime = RootIfObjectElseBlock(root, levelBlock, "vwap_regime");
  if (!regime.IsObject()) return;
  ReadLevel(regime, "vwap", &snapshot->vwap);
  static constexpr const char* kBandKeys[kVwapBandCount] = {"band1", "band2", "band3"};
  for (int k = 0; k < kVwapBandCount; ++k) {
    json::Node band = json::Member(regime, kBandKeys[k]);
    ReadLevel(band, "plus", &snapshot->vwapBandPlus[k]);
    ReadLevel(band, "minus", &snapshot->vwapBandMinus[k]);
  }
}

void ReadTradingPeriods(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot) {
  json::Node sessions = RootIfObjectElseBlock(root, levelBlock, "ict_sessions");
  if (!sessions.IsObject()) return;
  ReadRange(json::Member(sessions, "asia"), &snapshot->asiaRange);
  ReadRange(json::Member(sessions, "london"), &snapshot->londonRange);
  ReadRange(json::Member(sessions, "ny_am"), &snapshot->nyAmRange);
  ReadLevel(sessions, "midnight_open", &snapshot->midnightOpen);
}

}  // namespace payload
