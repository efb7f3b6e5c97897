#include "research/structural_alerts.h"

#include <gtest/gtest.h>

#include <string>

#include "research/research_response.h"
#include "payload/payload_test_support.h"
#include "text/format.h"

namespace research {
namespace {

// One live levels answer of the NQ map, reduced to what a capture reads.
struct Live {
  int minute = 0;  // source snapshot at 15:MM:00Z on 2025-01-02
  std::string regime = "positive_gamma";
  std::string scope = "all_expirations";
  std::string netGex = "5633320096";
  double ratio = 41.25;
  double callWall = 21862.5;
  double putWall = 21243.75;
  double gammaFlip = 21456.75;
};

payload::LiveMap Answer(const Live& l) {
  return payload::testing::LiveMapOf(text::Format(
      R"({"ok":true,"resolved_symbol":"QQQ","session_date":"2025-01-02","engine":"ordinel-gex-2",
          "conversion_method":"ratio","scope":"%s","selected_expiration":"",
          "source_snapshot_time":"2025-01-02T15:%02d:00Z","conversion_ratio":%.17g,
          "display_levels":{"regime":"%s","call_wall":%.17g,"put_wall":%.17g,
          "gamma_flip":%.17g,"net_gex":%s}})",
      l.scope, l.minute, l.ratio, l.regime, l.callWall, l.putWall, l.gammaFlip, l.netGex));
}

constexpr double kMinuteMs = 60000;

// Records `l` as an NQ capture at l.minute (plus `delayMs`) with alerts on.
std::string Record(ResearchView* view, const Live& l, int cooldown = 300, double delayMs = 0,
                   const char* symbol = "NQ") {
  return RecordLiveCapture(view, Answer(l), symbol, true, cooldown, 0.25,
                           1735830000000 + l.minute * kMinuteMs + delayMs);
}

TEST(StructuralAlerts, NameEveryKindThatFiredInOrder) {
  // Each kind alone where its threshold is close; all of them at once for the order.
  const struct {
    const char* name;
    std::function<void(Live&)> change;
    const char* alert;
  } cases[] = {
      {"nothing moved", [](Live&) {}, ""},
      {"regime from empty", [](Live& l) { l.regime = ""; }, ""},
      {"net GEX to zero", [](Live& l) { l.netGex = "0"; }, "net GEX sign change"},
      {"net GEX missing", [](Live& l) { l.netGex = "null"; }, ""},
      {"call wall by 0.13", [](Live& l) { l.callWall += 0.13; }, "call wall migration"},
      {"call wall by half a tick", [](Live& l) { l.callWall += 0.125; }, ""},
      {"ratio alone",
       [](Live& l) {
         l.ratio = 41.3, l.callWall = 530 * 41.3, l.putWall = 515 * 41.3;
         l.gammaFlip *= 41.3 / 41.25;
       },
       ""},
      {"everything",
       [](Live& l) {
         l.regime = "negative_gamma", l.netGex = "-5e9", l.gammaFlip += 30;
         l.callWall -= 41.25, l.putWall -= 41.25;
       },
       "regime change, net GEX sign change, call wall migration, put wall migration, "
       "gamma flip migration"},
  };
  for (const auto& c : cases) {
    ResearchView view;
    Live live;
    EXPECT_EQ(Record(&view, live), "") << c.name;  // the first capture only arms
    live.minute = 5;
    c.change(live);
    const std::string expected = *c.alert ? std::string("NQ / QQQ / 2025-01-02: ") + c.alert : "";
    EXPECT_EQ(Record(&view, live), expected) << c.name;
  }
}

TEST(StructuralAlerts, AKindCoolsDownOnItsOwn) {
  const struct {
    int cooldownInput;
    double repeatAfterMs;
    bool repeats;
  } cases[] = {{10, 29000, false}, {10, 30000, true}, {120, 119000, false}, {120, 120000, true}};
  for (const auto& c : cases) {
    ResearchView view;
    Live live;
    Record(&view, live, c.cooldownInput);
    live.minute = 1;
    live.callWall += 41.25;
    ASSERT_EQ(Record(&view, live, c.cooldownInput), "NQ / QQQ / 2025-01-02: call wall migration");
    // The next snapshot moves the call wall again and, for the first time, the put wall.
    live.minute = 2;
    live.callWall += 41.25;
    live.putWall += 41.25;
    const double delay = c.repeatAfterMs - kMinuteMs;
    const std::string alert = Record(&view, live, c.cooldownInput, delay);
    EXPECT_EQ(alert, c.repeats ? "NQ / QQQ / 2025-01-02: call wall migration, put wall migration"
                               : "NQ / QQQ / 2025-01-02: put wall migration")
        << c.cooldownInput << " after " << c.repeatAfterMs;
  }
}

TEST(StructuralAlerts, AnAlertHeldBackEntirelyRaisesNothing) {
  ResearchView view;
  Live live;
  Record(&view, live);
  live.minute = 1;
  live.regime = "negative_gamma";
  ASSERT_NE(Record(&view, live), "");
  live.minute = 2;
  live.regime = "positive_gamma";
  EXPECT_EQ(Record(&view, live), "");
  EXPECT_EQ(view.last_alert, "NQ / QQQ / 2025-01-02: regime change");  // the earlier one stays
}

TEST(StructuralAlerts, OnlyANewerSnapshotOfTheSameProvenanceIsCompared) {
  ResearchView view;
  Live live;
  live.minute = 10;
  Record(&view, live);
  Live older = live;
  older.minute = 9;
  older.regime = "negative_gamma";
  EXPECT_EQ(Record(&view, older), "");

  Live sameSnapshot = live;
  sameSnapshot.callWall += 100;
  EXPECT_EQ(Record(&view, sameSnapshot), "");

  Live otherScope = live;
  otherScope.minute = 11;
  otherScope.scope = "0dte";
  otherScope.regime = "negative_gamma";
  EXPECT_EQ(Record(&view, otherScope), "");
  otherScope.minute = 12;
  otherScope.regime = "positive_gamma";
  EXPECT_EQ(Record(&view, otherScope), "NQ / QQQ / 2025-01-02: regime change");
}

TEST(StructuralAlerts, ASymbolChangeOrAlertsOffOnlyRearm) {
  ResearchView view;
  Live live;
  Record(&view, live);
  live.minute = 1;
  live.regime = "negative_gamma";
  ASSERT_NE(Record(&view, live), "");

  live.minute = 2;
  live.regime = "positive_gamma";
  EXPECT_EQ(Record(&view, live, 300, kMinuteMs * 10, "ES"), "");  // another chart symbol
  live.minute = 3;
  live.regime = "negative_gamma";
  EXPECT_EQ(RecordLiveCapture(&view, Answer(live), "ES", false, 300, 0.25, 1.8e12), "");
  EXPECT_EQ(view.last_alert, "");
  EXPECT_TRUE(view.alert_times.empty());
  EXPECT_FALSE(view.alerts_armed);

  // Alerts off records even an older snapshot; switching on again only arms.
  live.minute = 0;
  EXPECT_EQ(RecordLiveCapture(&view, Answer(live), "ES", false, 300, 0.25, 1.8e12), "");
  EXPECT_EQ(view.last_live_capture.source_snapshot_time, "2025-01-02T15:00:00Z");
  live.minute = 4;
  EXPECT_EQ(Record(&view, live, 300, 0, "ES"), "");
  live.minute = 5;
  live.regime = "positive_gamma";
  EXPECT_EQ(Record(&view, live, 300, 0, "ES"), "ES / QQQ / 2025-01-02: regime change");
}

}  // namespace
}  // namespace research
