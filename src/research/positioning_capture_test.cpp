#include "research/positioning_capture.h"

#include <gtest/gtest.h>

#include <functional>

#include "research/research_test_support.h"

namespace research {
namespace {

using testing::Json;

TEST(ParsePositioningCapture, ReadsTextsNumbersAndTimes) {
  const json::Value row = Json(R"({
      "session_date": "2025-01-02", "source": "QQQ", "engine": 2, "conversion_method": null,
      "scope": ["x"], "selected_expiration": 20250117, "source_snapshot_time": 0.1,
      "regime": "positive_gamma", "ts": "2025-01-02T15:42:10.25Z",
      "conversion_ratio": {"value": "41.25"}, "call_wall": "21500.25", "put_wall": "n/a",
      "gamma_flip": null, "net_gex": -5.5e9})");
  const PositioningCapture c = ParsePositioningCapture(&row);
  EXPECT_EQ(c.session_date, "2025-01-02");
  EXPECT_EQ(c.engine, "2");
  EXPECT_EQ(c.conversion_method, "");
  EXPECT_EQ(c.scope, "");
  EXPECT_EQ(c.selected_expiration, "20250117");
  EXPECT_EQ(c.source_snapshot_time, "0.1");
  EXPECT_EQ(c.regime, "positive_gamma");
  EXPECT_EQ(c.ts, 1735832530250.0);
  EXPECT_EQ(c.conversion_ratio, 41.25);
  EXPECT_EQ(c.call_wall, 21500.25);
  EXPECT_EQ(c.put_wall, std::nullopt);
  EXPECT_EQ(c.gamma_flip, std::nullopt);
  EXPECT_EQ(c.net_gex, -5.5e9);
  EXPECT_EQ(c.tick_size, 0);

  const json::Value notObject = Json("[1]");
  const PositioningCapture empty = ParsePositioningCapture(&notObject);
  EXPECT_EQ(empty.session_date, "");
  EXPECT_EQ(empty.ts, 0);
  EXPECT_EQ(empty.conversion_ratio, std::nullopt);
  EXPECT_EQ(ParsePositioningCapture(nullptr).ts, 0);
}

PositioningCapture Capture() {
  PositioningCapture c;
  c.session_date = "2025-01-02";
  c.source = "QQQ";
  c.engine = "ordinel-gex-2";
  c.conversion_method = "ratio";
  c.scope = "all_expirations";
  c.source_snapshot_time = "2025-01-02T15:42:10Z";
  c.conversion_ratio = 41.25;
  return c;
}

TEST(SameProvenance, NeedsTheFullProvenanceAndPositiveRatios) {
  const struct {
    const char* name;
    std::function<void(PositioningCapture&, PositioningCapture&)> change;
    bool same;
  } cases[] = {
      {"identical", [](auto&, auto&) {}, true},
      {"other source time", [](auto&, auto& b) { b.source_snapshot_time = "later"; }, true},
      {"other ratio and levels",
       [](auto&, auto& b) {
         b.conversion_ratio = 41.3;
         b.call_wall = 1;
       },
       true},
      {"other engine", [](auto&, auto& b) { b.engine = "ordinel-gex-1"; }, false},
      {"other scope", [](auto&, auto& b) { b.scope = "0dte"; }, false},
      {"other expiration", [](auto&, auto& b) { b.selected_expiration = "2025-01-17"; }, false},
      {"both expirations set",
       [](auto& a, auto& b) { a.selected_expiration = b.selected_expiration = "2025-01-17"; },
       true},
      {"empty session date", [](auto& a, auto& b) { a.session_date = b.session_date = ""; }, false},
      {"no source time in b", [](auto&, auto& b) { b.source_snapshot_time = ""; }, false},
      {"no ratio in b", [](auto&, auto& b) { b.conversion_ratio.reset(); }, false},
      {"zero ratio", [](auto&, auto& b) { b.conversion_ratio = 0; }, false},
      {"negative ratio", [](auto& a, auto&) { a.conversion_ratio = -41.25; }, false},
  };
  for (const auto& c : cases) {
    PositioningCapture a = Capture(), b = Capture();
    c.change(a, b);
    EXPECT_EQ(SameProvenance(a, b), c.same) << c.name;
  }
}

}  // namespace
}  // namespace research
