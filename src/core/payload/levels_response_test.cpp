#include "payload/levels_response.h"

#include <gtest/gtest.h>

#include "payload/payload_test_support.h"

namespace payload {
namespace {

using testing::Answer;
using testing::Json;
using testing::ParseAnswer;

TEST(LevelsEnvelope, RefusedAnswersGiveTheirMessageAndLeaveTheSnapshotReset) {
  const std::pair<const char*, const char*> cases[] = {
      {R"([])", "Levels response was not a JSON object."},
      {R"({"ok": true, "connected": false, "display_levels": {"spot": 1}})",
       "Levels unavailable: worker responded without ok/connected."},
      {R"({"ok": true, "connected": true})", "Worker response OK but display_levels is missing."},
      {R"({"ok": true, "connected": true, "display_levels": [1], "snapshot": {"spot": 1}})",
       "Worker response OK but display_levels is missing."},
      {R"({"ok": false, "error": "E", "message": "M", "display_message": "D"})", "Levels unavailable (E): M"},
      {R"({"ok": false, "error": "E", "message": "", "display_message": "D"})", "Levels unavailable (E): D"},
      {R"({"connected": true, "message": "The FREE \t flow feed is down"})",
       "Levels unavailable: The market data feed is down"},
      {R"({"ok": false, "error": 429})", "Levels unavailable (error: 429)."},
      {R"({"ok": false, "error": null, "message": ["M"]})",
       "Levels unavailable: worker responded without ok/connected."},
  };
  for (const auto& [input, message] : cases) {
    LevelsSnapshot snapshot;
    snapshot.valid = true;
    snapshot.spot = OptionalLevel{true, 5000};
    std::string status = "previous";
    EXPECT_FALSE(ParseLevelsResponse(Json(input), 10, &snapshot, &status)) << input;
    EXPECT_EQ(status, message) << input;
    EXPECT_EQ(snapshot, LevelsSnapshot()) << input;
  }
}

TEST(LevelsEnvelope, BareSuccessIsValidWithNothingElse) {
  LevelsSnapshot expected;
  expected.valid = true;
  EXPECT_EQ(ParseAnswer(Answer("{}")), expected);
}

TEST(LevelsEnvelope, LevelBlockIsTheFirstNonNullOfDisplayLevelsSnapshotData) {
  const std::pair<const char*, double> cases[] = {
      {R"({"ok": true, "connected": true, "snapshot": {"spot": 2}, "data": {"spot": 3}})", 2},
      {R"({"ok": true, "connected": true, "data": {"spot": 3}})", 3},
      {R"({"ok": true, "connected": true, "data": {"spot": 3}, "display_levels": {"spot": 1}})", 1},
  };
  for (const auto& [input, spot] : cases) {
    EXPECT_EQ(ParseAnswer(input).spot, (OptionalLevel{true, spot})) << input;
  }
}

TEST(LevelsIdentity, RootFirstThenLevelBlockWhereAllowed) {
  const LevelsSnapshot snapshot = ParseAnswer(Answer(
      R"({"requested_symbol": "DL-REQ", "resolved_symbol": "DL-RES",
          "source_snapshot_time": "DL-TIME", "conversion_note": "block freeflow note",
          "expiration_note": "DL-EXP", "mapping_note": "DL-MAP"})",
      R"("requested_symbol": "", "resolved_symbol": "QQQ", "expiration_note": "Free Flow exp",
         "conversion_note": null)"));
  EXPECT_EQ(snapshot.requestedSymbol + "|" + snapshot.resolvedSymbol + "|" + snapshot.sourceSnapshotTime +
                "|" + snapshot.conversionNote + "|" + snapshot.expirationNote + "|" + snapshot.mappingNote,
            "DL-REQ|QQQ||block market data note|market data exp|");
}

TEST(LevelsIdentity, LockedNeedsAFlagAndACaptureTime) {
  const struct {
    const char* root;
    bool locked;
    double refreshAfter;
    const char* session;
  } cases[] = {
      {R"("locked_mode": true, "locked_captured_at": "09:30", "locked_refresh_after_unix": 1735914600,
          "locked_session": "2025-01-02")",
       true, 1735914600, "2025-01-02"},
      {R"("locked_snapshot": true, "locked_captured_at": 5, "locked_refresh_after_unix": "17e8")", true, 17e8,
       ""},
      {R"("locked_mode": true, "locked_refresh_after_unix": 1735914600, "locked_session": "s")", false, 0,
       "s"},
      {R"("locked_mode": true, "locked_captured_at": "", "locked_refresh_after_unix": 1)", false, 0, ""},
      {R"("locked_mode": true, "locked_captured_at": "x", "locked_refresh_after_unix": null)", true, 0, ""},
  };
  for (const auto& c : cases) {
    const LevelsSnapshot snapshot = ParseAnswer(Answer("{}", c.root));
    EXPECT_EQ(snapshot.locked, c.locked) << c.root;
    EXPECT_EQ(snapshot.lockedRefreshAfterUnix, c.refreshAfter) << c.root;
    EXPECT_EQ(snapshot.lockedSession, c.session) << c.root;
  }
}

TEST(LevelsCore, EachLevelIsReadWithTheNumberRuleOrStaysAbsent) {
  // Two levels suffice to show every level goes through the one number rule (json::NumberOfValue,
  // whose refusals and wrapper keys are pinned beside it); 0 is a level like any other.
  const struct {
    const char* value;
    bool has;
    double expected;
  } cases[] = {
      {"21500.25", true, 21500.25},
      {R"("21500.5 pts")", true, 21500.5},
      {"0", true, 0},
      {"null", false, 0},
  };
  for (const auto& c : cases) {
    const LevelsSnapshot snapshot =
        ParseAnswer(Answer(std::string(R"({"spot": )") + c.value + R"(, "vol_trigger": )" + c.value + "}"));
    EXPECT_EQ(snapshot.spot, (OptionalLevel{c.has, c.expected})) << c.value;
    EXPECT_EQ(snapshot.volTrigger, (OptionalLevel{c.has, c.expected})) << c.value;
    EXPECT_FALSE(snapshot.putWall.has) << c.value;
  }
}

TEST(LevelsSummaries, FocusSummaryLabels) {
  const std::pair<const char*, const char*> cases[] = {
      {R"({"focus_count": 0})", "Full - Focus: Balanced"},
      {R"({"mode": "gex_only", "focus_preset": "oi", "focus_count": 3.9})", "GEX only - Focus: OI (3)"},
      {R"({"mode": "minimal", "focus_preset": "flow", "focus_count": "2"})", "Minimal - Focus: Flow (2)"},
      {R"({"mode": "custom", "focus_preset": "custom", "focus_count": 0.5})", "Custom - Focus: Custom (0)"},
      {R"({"mode": "GEX_ONLY", "focus_preset": "gex_only", "focus_count": -1})", "Full - Focus: GEX only"},
      {R"({"focus_count": 1e300})", "Full - Focus: Balanced (2147483647)"},
      {R"("not an object")", ""},
  };
  for (const auto& [accountMap, summary] : cases) {
    const std::string block = std::string(R"({"account_map": )") + accountMap + "}";
    EXPECT_EQ(ParseAnswer(Answer(block)).focusSummary, summary) << accountMap;
  }
}

TEST(LevelsSummaries, ModelSummaryParts) {
  const std::pair<const char*, const char*> cases[] = {
      {R"({"pinning_score": 71.5})", "pin 72/100"},
      {R"({"hedge_1pct_shares": 499})", "hedge 0k sh/1%"},
      {R"({"pinning_score": 63.4, "hedge_1pct_shares": -15400, "hedge_direction": "dampening",
           "flip_side": "above"})",
       "pin 63/100 - hedge -15k sh/1% (dampening) - spot above flip"},
      {R"({"hedge_1pct_shares": 2500, "hedge_direction": "pro_cyclical"})", "hedge 3k sh/1% (pro-cyclical)"},
      {R"({"hedge_1pct_shares": 1000, "hedge_direction": "Dampening", "flip_side": "Below"})",
       "hedge 1k sh/1%"},
      {R"({"flip_side": "below"})", "spot below flip"},
      {R"({"pinning_score": "n/a", "flip_side": "at"})", ""},
      {R"({"pinning_score": -1e300})", "pin -2147483648/100"},
  };
  for (const auto& [ownModel, summary] : cases) {
    const std::string block = std::string(R"({"own_model": )") + ownModel + "}";
    EXPECT_EQ(ParseAnswer(Answer(block)).modelSummary, summary) << ownModel;
  }
}

TEST(CleanServiceNote, ReplacesFreeFlowInAnyCase) {
  const std::pair<const char*, const char*> cases[] = {
      {"FREE   Flow data", "market data data"},
      {"freeflow", "market data"},
      {"via free\t \tflow.", "via market data."},
      {"Free Flow and free flow", "market data and market data"},
      {"free\nflow", "free\nflow"},
      {"frefree flow", "fremarket data"},
      {"FREE FLO", "FREE FLO"},
      {"", ""},
  };
  for (const auto& [input, output] : cases) EXPECT_EQ(CleanServiceNote(input), output) << input;
}

}  // namespace
}  // namespace payload
