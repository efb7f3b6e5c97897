#include "research/capture_comparison.h"

#include <gtest/gtest.h>

#include <functional>

namespace research {
namespace {

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
  using Change = std::function<void(PositioningCapture&, PositioningCapture&)>;
  const struct {
    const char* name;
    Change change;
    bool same;
  } cases[] = {
      {"identical", [](auto&, auto&) {}, true},
      {"other source time", [](auto&, auto& b) { b.source_snapshot_time = "later"; }, true},
      {"other ratio and levels", [](auto&, auto& b) { b.conversion_ratio = 41.3, b.call_wall = 1; }, true},
      {"other engine", [](auto&, auto& b) { b.engine = "ordinel-gex-1"; }, false},
      {"other scope", [](auto&, auto& b) { b.scope = "0dte"; }, false},
      {"other expiration", [](auto&, auto& b) { b.selected_expiration = "2025-01-17"; }, false},
      {"both expirations set",
       [](auto& a, auto& b) { a.selected_expiration = b.selected_expiration = "2025-01-17"; }, true},
      {"empty session date", [](auto& a, auto& b) { a.session_date = b.session_date = ""; }, false},
      {"no source time in b", [](auto&, auto& b) { b.source_snapshot_time = ""; }, false},
      {"no ratio in b", [](auto&, auto& b) { b.conversion_ratio.reset(); }, false},
      {"negative ratio in a", [](auto& a, auto&) { a.conversion_ratio = -41.25; }, false},
  };
  for (const auto& c : cases) {
    PositioningCapture a = Capture(), b = Capture();
    c.change(a, b);
    EXPECT_EQ(SameProvenance(a, b), c.same) << c.name;
  }
}

}  // namespace
}  // namespace research
