#include "payload/live_map.h"

#include <gtest/gtest.h>

#include "payload/payload_test_support.h"

namespace payload {
namespace {

// Provenance from the root where it is set there (empty texts do not count), levels from the
// block; the tick size is the study's to stamp.
TEST(ReadLiveMap, TakesProvenanceFromTheRootAndLevelsFromTheBlock) {
  const LiveMap live = testing::LiveMapOf(R"({
      "ok": true, "session_date": "", "locked_session": "2025-01-02", "resolved_symbol": "QQQ",
      "engine": "root-engine", "conversion_method": "", "scope": "root-scope",
      "source_snapshot_time": "2025-01-02T14:30:05Z", "conversion_ratio": "n/a",
      "display_levels": {"session_date": "2024-12-31", "source": "NDX", "engine": "",
        "conversion_method": "ratio", "scope": "block-scope", "selected_expiration": "2025-01-17",
        "source_snapshot_time": "old", "ts": 1, "regime": "negative_gamma", "tick_size": 0.25,
        "conversion_ratio": 41.25, "call_wall": 21862.5, "put_wall": 21243.75,
        "gamma_flip": 21456.75, "net_gex": -1}})");
  EXPECT_EQ(testing::Described(live.capture),
            "2025-01-02|QQQ|root-engine|ratio|root-scope||2025-01-02T14:30:05Z|negative_gamma "
            "ts 1735828205000 ratio 41.25 cw 21862.5 pw 21243.75 gf 21456.75 net -1 tick 0");
}

}  // namespace
}  // namespace payload
