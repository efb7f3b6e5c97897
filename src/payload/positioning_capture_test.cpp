#include "payload/positioning_capture.h"

#include <gtest/gtest.h>

#include "payload/payload_test_support.h"

namespace payload {
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

}  // namespace
}  // namespace payload
