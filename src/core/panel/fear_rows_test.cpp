#include "panel/fear_rows.h"

#include "panel/panel_test_support.h"

namespace panel {
namespace {

payload::OptionalLevel Has(double v) { return {true, v}; }
constexpr payload::OptionalLevel kNone{};

TEST(AddFearRows, ScoresBandsAndPartialReads) {
  const struct {
    const char* name;
    payload::OptionalLevel spot, flip, realizedVol, vix;
    std::vector<std::string> expected;
  } cases[] = {
      {"medians",
       Has(10000),
       Has(9516.753),
       Has(0.151227),
       Has(16.47),
       {"  50   p51 over 12y of history   Normal (160,200,240) bold",
        "  Mid-range regime vs 12 years of sessions. (170,180,198)",
        "  Flip stress -4.83% p50 | Realized vol 5d 15.1% p50 | VIX 16.47 p50 (150,160,178)"}},
      {"all at the top",
       Has(100),
       Has(120),
       Has(1.5),
       Has(82.69),
       {"  100   p100 over 12y of history   Extreme (255,139,139) bold",
        "  Crisis-regime company: 2015 / 2018 / 2020 / 2022 panics. (170,180,198)",
        "  Flip stress 20.00% p100 | Realized vol 5d 150.0% p100 | VIX 82.69 p100 (150,160,178)"}},
      {"all at the bottom",
       Has(100),
       Has(10),
       Has(0.001),
       Has(9.0),
       {"  0   p0 over 12y of history   Calm (115,240,176) bold",
        "  Structurally quiet vs history. Premium is cheap. (170,180,198)",
        "  Flip stress -90.00% p0 | Realized vol 5d 0.1% p0 | VIX 9.00 p0 (150,160,178)"}},
      {"no flip",
       kNone,
       kNone,
       Has(0.22868),
       Has(20.87),
       {"  75   p86 over 12y of history   High stress (255,139,139) bold",
        "  Top-decile stress. Gamma is thin; levels break more easily. (170,180,198)",
        "  Realized vol 5d 22.9% p75 | VIX 20.87 p75 (150,160,178)",
        "  Partial read - missing: Flip stress. (140,150,168)"}},
      {"no vix",
       Has(10000),
       Has(9845.116),
       Has(0.151227),
       kNone,
       {"  62   p71 over 12y of history   Elevated (246,180,95) bold",
        "  Stress building beyond the historical norm. (170,180,198)",
        "  Flip stress -1.55% p75 | Realized vol 5d 15.1% p50 (150,160,178)",
        "  Partial read - missing: VIX. (140,150,168)"}},
      {"only vix",
       kNone,
       kNone,
       kNone,
       Has(17.2),
       {"  VIX 17.20  (partial read - composite needs 2 inputs) (170,180,198)"}},
      {"spot zero",
       Has(0),
       Has(21480),
       kNone,
       Has(17.2),
       {"  VIX 17.20  (partial read - composite needs 2 inputs) (170,180,198)"}},
      {"only flip",
       Has(21450),
       Has(21480),
       kNone,
       kNone,
       {"  Fear score warming up - inputs arrive on the next refresh. (140,150,168)"}},
  };
  for (const auto& c : cases) {
    payload::LevelsSnapshot s;
    s.spot = c.spot;
    s.gammaFlip = c.flip;
    std::vector<PanelLine> lines;
    AddFearRows(s, c.vix, c.realizedVol, &lines);
    EXPECT_EQ(Styled(lines), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace panel
