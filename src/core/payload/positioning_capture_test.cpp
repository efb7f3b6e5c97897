#include "payload/positioning_capture.h"

#include <gtest/gtest.h>

#include "payload/payload_test_support.h"

namespace payload {
namespace {

TEST(ParsePositioningCapture, ReadsTextsNumbersAndTimes) {
  const std::pair<const char*, const char*> cases[] = {
      {R"({"session_date": "2025-01-02", "source": "QQQ", "engine": 2, "conversion_method": null,
           "scope": ["x"], "selected_expiration": 20250117, "source_snapshot_time": 0.1,
           "regime": "positive_gamma", "ts": "2025-01-02T15:42:10.25Z", "tick_size": 1,
           "conversion_ratio": {"value": "41.25"}, "call_wall": "21500.25", "put_wall": "n/a",
           "gamma_flip": null, "net_gex": -5.5e9})",
       "2025-01-02|QQQ|2|||20250117|0.1|positive_gamma ts 1735832530250 ratio 41.25 "
       "cw 21500.25 pw - gf - net -5.5e+09 tick 0"},
      {"[1]", "||||||| ts 0 ratio - cw - pw - gf - net - tick 0"},
  };
  for (const auto& [row, described] : cases) {
    EXPECT_EQ(testing::Described(ParsePositioningCapture(testing::Json(row))), described) << row;
  }
  EXPECT_EQ(ParsePositioningCapture(json::Node()).ts, 0);
}

}  // namespace
}  // namespace payload
