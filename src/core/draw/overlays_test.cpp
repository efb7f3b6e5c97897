// The optional overlays, each rendered whole over one extended snapshot.
#include <gtest/gtest.h>

#include "draw/draw_test_support.h"

namespace draw {
namespace {

using Lines = std::vector<std::string>;

class OverlayTest : public DrawTest {
 protected:
  OverlayTest() {
    EnableEveryOptionalLayer();
    settings.coreLevels = false;
    Pass(ExtendedSnapshot());
  }
};

TEST_F(OverlayTest, VolatilityOverlays) {
  EXPECT_EQ(Rendered(71134, 71142),
            (Lines{"71134 rect 100-199 5010..5000 sg19 t92", "71136 line 5000 'DVZ AVG' sg18 s1 w1",
                   "71137 line 5005 'DVZ +0.5' sg18 s2 w1", "71138 line 4995 'DVZ -0.5' sg18 s2 w1",
                   "71139 line 5010 'DVZ +1' sg18 s2 w1", "71140 line 4990 'DVZ -1' sg18 s2 w1",
                   "71141 line 5020 'DVZ +2' sg18 s2 w1", "71142 line 4980 'DVZ -2' sg18 s2 w1"}));
  EXPECT_EQ(Rendered(71560, 71565),
            (Lines{"71560 rect 100-199 5010.68..4989.32 sg29 t94", "71561 line 5010.68 'IV +60m' sg29 s2 w1",
                   "71562 line 4989.32 '' sg29 s2 w1", "71564 rect 100-199 5110..5010 sg30 t96",
                   "71565 rect 100-199 5010..4910 sg31 t96"}));
  EXPECT_EQ(Rendered(71850, 71852), (Lines{"71850 rect 100-199 5050..4950 sg2 t92",
                                           "71851 line 5005 '0y - Zero Gamma (model)' rgb(94,214,196) s1 w1",
                                           "71852 rect 100-199 5012..5000 rgb(94,214,196) t92"}));
}

TEST_F(OverlayTest, GreekAndCompanionWalls) {
  EXPECT_EQ(Rendered(71144, 71146),
            (Lines{"71144 line 18100 'CW-NDX' sg20 s1 w1", "71145 line 17900 'GF-NDX' sg20 s1 w1"}));
  EXPECT_EQ(Rendered(71500, 71527),
            (Lines{"71500 line 5050 'VANNA [46]' sg21 s2 w1", "71501 line 4950 'VANNA [0]' sg21 s2 w1",
                   "71508 line 5030 'VF - Vanna Flip' sg21 s1 w1", "71510 rect 100-199 4970..4960 sg22 t92",
                   "71516 line 4985 'CF - Charm Flip' sg22 s1 w1", "71518 line 5075 'VEGA' sg23 s2 w1",
                   "71525 line 5110 'H-CW' sg24 s1 w1", "71526 line 4890 'H-PW' sg24 s1 w1"}));
  EXPECT_EQ(Rendered(72100, 72101),
            (Lines{"72100 line 5150 'IV-C' sg23 s1 w1", "72101 line 4850 'IV-P' sg23 s1 w1"}));
}

TEST_F(OverlayTest, SessionReferencesAndExtenders) {
  EXPECT_EQ(Rendered(71530, 71558),
            (Lines{"71530 line 5060 'PDH' sg25 s2 w1", "71531 line 4940 'PDL' sg25 s2 w1",
                   "71533 line 5008 'OR HIGH' sg25 s2 w1", "71534 line 4995 'OR LOW' sg25 s2 w1",
                   "71535 rect 100-199 5008..4995 sg25 t94", "71537 line 4998 'RTH CLOSE' sg26 s2 w1",
                   "71538 line 5030 'ONH' sg26 s2 w1", "71539 line 4970 'ONL' sg26 s2 w1",
                   "71541 line 5002 'VWAP' sg27 s1 w1", "71542 line 5012 '' sg27 s2 w1",
                   "71544 line 5022 '' sg27 s2 w1", "71545 line 4982 '' sg27 s2 w1",
                   "71550 rect 100-199 4990..4970 sg28 t94", "71552 rect 100-199 5015..4995 sg28 t94",
                   "71554 line 4990 'ASIA' sg28 s2 w1", "71556 line 5015 'NY AM' sg28 s2 w1",
                   "71558 line 4999 '00:00 OPEN' sg28 s2 w1"}));
  EXPECT_EQ(Rendered(71570, 71575),
            (Lines{"71570 line 4950 'PW-1' sg33 s2 w1", "71571 line 4900 'PW-2' sg33 s2 w1",
                   "71573 line 5150 'CW+1' sg32 s2 w1", "71574 line 5250 'CW+2' sg32 s2 w1"}));
}

TEST_F(OverlayTest, EdgeCasesOfSingleOverlays) {
  const struct {
    const char* name;
    void (*change)(payload::LevelsSnapshot&, DrawSettings&);
    int from, to;
    Lines expected;
  } cases[] = {
      {"corridor reversed",
       [](auto& s, auto&) {
         s.volTrigger = {true, 5015};
         s.gammaFlip = {true, 5000};
       },
       71134,
       71134,
       {"71134 rect 100-199 5015..5000 sg19 t92"}},
      {"corridor 20 apart",
       [](auto& s, auto&) {
         s.volTrigger = {true, 5000};
         s.gammaFlip = {true, 5020};
       },
       71134,
       71134,
       {}},
      {"corridor coinciding",
       [](auto& s, auto&) {
         s.volTrigger = {true, 5010};
       },
       71134,
       71134,
       {}},
      {"one-sigma zero",
       [](auto& s, auto&) {
         s.emOneSigma = {true, 0};
       },
       71136,
       71142,
       {}},
      {"IV horizon 5",
       [](auto&, auto& h) { h.ivHorizonMinutes = 5; },
       71561,
       71561,
       {"71561 line 5005.34 'IV +15m' sg29 s2 w1"}},
      {"session refs off", [](auto&, auto& h) { h.sessionRefs = false; }, 71530, 71535, {}},
      {"extenders 3 per side",
       [](auto&, auto& h) { h.wallExtenders = 3; },
       71573,
       71575,
       {"71573 line 5150 'CW+1' sg32 s2 w1", "71574 line 5200 'CW+2' sg32 s2 w1",
        "71575 line 5250 'CW+3' sg32 s2 w1"}},
      {"extenders off", [](auto&, auto& h) { h.wallExtenders = 0; }, 71570, 71575, {}},
  };
  for (const auto& c : cases) {
    payload::LevelsSnapshot s = ExtendedSnapshot();
    c.change(s, settings);
    Pass(s);
    EXPECT_EQ(Rendered(c.from, c.to), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace draw
