#include "study/driver.h"

#include <gtest/gtest.h>

#include <set>

#include "study/driver_test_support.h"
#include "study/settings_signature.h"
#include "study/input_table.h"

namespace study {
namespace {

TEST(SettingsSignature, CoversEveryDrawingInputAndColourButNotTheRequestOnlyOnes) {
  host::FakeStudyHost sc;
  DeclareStudy(sc);
  const uint32_t base = SettingsSignature(ReadInputValues(sc));
  const std::set<int> excluded = {kApiBaseUrl, kCoreExpirations, kCoreMultiSubset, kCoreSpecificExpiration,
                                  kPanelState, kVerboseLog};
  for (int slot = 0; slot < kInputCount; ++slot) {
    host::FakeStudyHost changed = sc;
    if (changed.inputs[slot].declaration.kind == host::InputKind::kText) {
      changed.inputs[slot].text += "7";
    } else {
      changed.inputs[slot].number += 1;
    }
    EXPECT_EQ(SettingsSignature(ReadInputValues(changed)) != base, !excluded.count(slot))
        << changed.inputs[slot].declaration.label;
  }
  for (int n = 0; n < palette::kSubgraphCount; ++n) {
    host::FakeStudyHost changed = sc;
    changed.colours[n].b ^= 1;
    EXPECT_NE(SettingsSignature(ReadInputValues(changed)), base) << "subgraph " << n;
  }
  // The raw refresh interval is mixed, so 100 and 120 differ although both fetch every 180 s.
  host::FakeStudyHost other = sc;
  sc.inputs[kRefreshInterval].number = 100;
  other.inputs[kRefreshInterval].number = 120;
  EXPECT_NE(SettingsSignature(ReadInputValues(sc)), SettingsSignature(ReadInputValues(other)));
}

TEST(Driver, ColourChangeOrDrawingToggleRedrawsWithoutRefetching) {
  DriverHarness h;
  h.LoadMap();
  ASSERT_TRUE(h.State().snapshot.valid);
  const size_t requests = h.Requests();
  const int submits = h.sc.submitCount;
  h.Call(kT0 + 2);
  EXPECT_EQ(h.sc.submitCount, submits) << "nothing changed: no pass";
  h.sc.colours[palette::kSgCallWall] = {1, 2, 3};
  h.Call(kT0 + 3);
  EXPECT_GT(h.sc.submitCount, submits);
  EXPECT_EQ(h.sc.drawings.at(71000).colour, (host::Rgb{1, 2, 3}));
  h.Set(kDrawMaxPain, 1);
  h.Call(kT0 + 4);
  EXPECT_EQ(h.Requests(), requests);
  EXPECT_TRUE(h.State().snapshot.valid);
}

TEST(Driver, RequestIdentityChangesEmptyTheMapAndFetchAtOnce) {
  const std::pair<int, double> cases[] = {
      {kSnapshotMode, 0}, {kGexBasis, 1}, {kExtendedLevels, 1}, {kEsOptionsSource, 1}, {kCoreExpirations, 3}};
  for (const auto& [slot, value] : cases) {
    DriverHarness h;
    h.LoadMap();
    ASSERT_TRUE(h.State().snapshot.valid);
    const size_t requests = h.Requests();
    h.Set(slot, value);
    h.Call(kT0 + 2);
    EXPECT_FALSE(h.State().snapshot.valid) << slot;
    EXPECT_EQ(h.Requests(), requests + 1) << slot;
  }
}

TEST(Driver, UnrecognisedSymbolAndInvalidExpiriesSendNothing) {
  DriverHarness h;
  h.sc.symbol = "XYZ";
  h.Call(kT0);
  EXPECT_EQ(h.Requests(), 0u);
  EXPECT_EQ(h.State().statusLine, "Symbol not recognised - pick NQ / ES / QQQ / SPY in the Inputs.");

  DriverHarness bad;
  bad.sc.symbol = "XYZ";
  bad.Set(kCoreExpirations, 2);  // specific date, left blank
  bad.Call(kT0);
  EXPECT_EQ(bad.Requests(), 0u);
  EXPECT_EQ(bad.State().statusLine, "Selected expirations unavailable (no legacy fallback).");
  EXPECT_EQ(bad.State().errorLine, "Use at most 24 YYYY-MM-DD expirations; Specific requires one date.");
  EXPECT_EQ(bad.sc.log.back().text, "Ordinel: " + bad.State().errorLine);
}

TEST(ScaleGuard, TripsBeyondTheLimitUnlessALockedCaptureOfThisChartIsHeld) {
  const struct {
    double spot;
    bool locked, tripped;
    const char* message;
  } cases[] = {
      {21500 * 1.01, false, false, ""},
      {21500 * 1.03, false, true,
       "Scale guard: payload spot 22145.00 vs chart 21500.00 (3.00% apart, limit 2.00%)."},
      {21500 * 1.03, true, false,
       "Locked at open: chart has moved since capture; opening levels remain visible."},
      {21500 * 1.12, true, true,
       "Scale guard: payload spot 24080.00 vs chart 21500.00 (12.00% apart, limit 2.00%)."},
  };
  for (const auto& c : cases) {
    DriverHarness h;
    h.Set(kSnapshotMode, c.locked ? 0 : 1);
    h.Set(kFearScore, 0);
    h.Call(kT0);
    const std::string lock = c.locked ? R"(,"locked_snapshot":true,"locked_captured_at":"x")" : "";
    h.Answer(LevelsAnswer(c.spot, lock), kT0 + 1);
    SCOPED_TRACE(c.spot);
    EXPECT_EQ(h.State().scaleGuardTripped, c.tripped);
    EXPECT_EQ(h.State().scaleGuardMessage, c.message);
    EXPECT_EQ(h.sc.subgraphValues[palette::kSgCallWall][199], c.tripped ? 0.0f : 21600.0f);
    EXPECT_EQ(h.sc.drawings.count(71000), c.tripped ? 0u : 1u);
    if (c.tripped) {
      EXPECT_EQ(h.sc.log.back().text,
                std::string("Ordinel: ") + c.message +
                    " Nothing drawn. Check the 'Requested symbol' input matches this chart.");
      const size_t logged = h.sc.log.size();
      h.Call(kT0 + 2);
      EXPECT_EQ(h.sc.log.size(), logged) << "logged once per change";
    }
  }
}

TEST(Driver, ChartWithoutBarsNeverTripsAndWritesNoValues) {
  DriverHarness h;
  h.sc.closes.clear();
  h.LoadMap(LevelsAnswer(30000));
  EXPECT_FALSE(h.State().scaleGuardTripped);
  EXPECT_TRUE(h.sc.subgraphValues.empty());
}

TEST(Driver, WritesLevelValuesAtTheLastBarAndKeepsEarlierBars) {
  DriverHarness h;
  h.LoadMap();
  ASSERT_TRUE(h.State().snapshot.valid);
  EXPECT_EQ(h.sc.subgraphValues[palette::kSgPutWall][199], 21400.0f);
  EXPECT_EQ(h.sc.subgraphValues[palette::kSgMaxPain][199], 0.0f);  // absent
  h.sc.closes.push_back(21500);
  h.Call(kT0 + 5);
  EXPECT_EQ(h.sc.subgraphValues[palette::kSgPutWall][199], 21400.0f);
  EXPECT_EQ(h.sc.subgraphValues[palette::kSgPutWall][200], 21400.0f);
}

TEST(Driver, PointerCodesTwoAndThreeEndTheCall) {
  DriverHarness h;
  h.sc.pointer = {2, 10, 10};
  h.Call(kT0);
  EXPECT_EQ(h.Requests(), 0u);
  EXPECT_EQ(h.State().statusLine, "Starting up...");
  h.sc.pointer = {};
  h.Call(kT0 + 1);
  EXPECT_EQ(h.Requests(), 1u);
}

}  // namespace
}  // namespace study
