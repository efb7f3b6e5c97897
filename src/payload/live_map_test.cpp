#include "payload/live_map.h"

#include <gtest/gtest.h>

#include "payload/payload_test_support.h"

namespace payload {
namespace {

using testing::Json;

TEST(ReadLiveMap, TakesProvenanceFromTheRootAndLevelsFromTheBlock) {
  const json::Value root = Json(R"({
      "ok": true, "session_date": "", "locked_session": "2025-01-02", "resolved_symbol": "QQQ",
      "engine": "root-engine", "conversion_method": "", "scope": "root-scope",
      "source_snapshot_time": "2025-01-02T14:30:05Z", "conversion_ratio": "n/a",
      "display_levels": {"session_date": "2024-12-31", "source": "NDX", "engine": "",
        "conversion_method": "ratio", "scope": "block-scope", "selected_expiration": "2025-01-17",
        "source_snapshot_time": "old", "ts": 1, "regime": "negative_gamma",
        "conversion_ratio": 41.25, "call_wall": 21862.5, "put_wall": 21243.75,
        "gamma_flip": 21456.75, "net_gex": -1}})");
  const PositioningCapture c = ReadLiveMap(root).capture;
  EXPECT_EQ(c.session_date, "2025-01-02");
  EXPECT_EQ(c.source, "QQQ");
  EXPECT_EQ(c.engine, "root-engine");
  EXPECT_EQ(c.conversion_method, "ratio");
  EXPECT_EQ(c.scope, "root-scope");
  EXPECT_EQ(c.selected_expiration, "");
  EXPECT_EQ(c.source_snapshot_time, "2025-01-02T14:30:05Z");
  EXPECT_EQ(c.ts, 1735828205000.0);
  EXPECT_EQ(c.conversion_ratio, 41.25);
  EXPECT_EQ(c.regime, "negative_gamma");
  EXPECT_EQ(c.call_wall, 21862.5);
  EXPECT_EQ(c.net_gex, -1);
  EXPECT_EQ(c.tick_size, 0) << "stamped by the study, not read";
}

}  // namespace
}  // namespace payload
