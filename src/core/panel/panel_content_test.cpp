#include "panel/panel_content.h"

#include <algorithm>

#include "panel/panel_test_support.h"

namespace panel {
namespace {

payload::LevelsSnapshot RealisticSnapshot() {
  payload::LevelsSnapshot s;
  s.valid = true;
  s.sourceSnapshotTime = "2025-01-02T15:30:00Z";
  s.spot = {true, 21450};
  s.callWall = {true, 21600};
  s.gammaFlip = {true, 21480};
  s.putWall = {true, 21200};
  s.volTrigger = {true, 21530};
  s.zeroDex = {true, 21460};
  s.focus[0] = {true, 21550, "Bull trigger", "F1", "high"};
  s.focus[2] = {true, 21300, "Floor", "", ""};
  s.upsideCluster = {true, 21580, 21620, "UCL"};
  s.battleZone = {true, 21440, 21470, "BZ"};
  s.netGex = {true, 1.2e9};
  s.netDex = {true, -3e8};
  s.netCum = {true, -1.26e9};
  s.callCum = {true, 2e6};
  s.putCum = {true, -3.1e6};
  s.totalVol = {true, 1500};
  s.charmHedgeUsd = {true, 4.5e8};
  s.charmHedgeDirection = "buy";
  s.vannaHedgeUsdPerVolPoint = {true, -1.2e8};
  s.vannaHedgeDirection = "sell";
  s.pressureZoneLower = {true, 21420};
  s.pressureZoneUpper = {true, 21510};
  s.focusSummary = "bullish above 21500";
  s.modelSummary = "flip 21480";
  s.profileRows = {{21600, 9e8, 3, 100, "CW"}, {21480, 4e8, 1, 45, "Flip"}, {21200, -6e7, 2, 7, "PW"}};
  s.conversionNote = "NQ = NDX x 1.0";
  s.expirationNote = "0DTE only";
  return s;
}

class PanelContentTest : public PanelTest {
 protected:
  PanelContentTest() {
    context.snapshot = &snapshot;
    context.apiSymbol = "NQ";
    context.statusLine = "Levels loaded.";
    context.vixLevel = {true, 16.47};
    context.qqqRealizedVol = {true, 0.151227};
  }
  std::vector<PanelLine> Build(ContentOptions options = {.fullDetail = true, .fear = true, .drift = true}) {
    std::vector<PanelLine> lines = {MakeLine("stale", kRed)};
    BuildPanelContent(sc, context, options, &lines);
    return lines;
  }
  payload::LevelsSnapshot snapshot = RealisticSnapshot();
  PanelContext context;
};

// The rows of the regime, forecast, zone, fear and strike sections have their own tests; here
// the order of the sections, their tabs and groups, and the rows only this list writes.
TEST_F(PanelContentTest, FullDetailListsEverySectionInOrder) {
  const std::vector<std::string> expected = {
      "0 2 |ORDINEL  NQ   dynamic",
      "0 0 |Levels loaded.",
      "0 0 |Spot 21450.00   snapshot 2025-01-02T15:30:00Z",
      "1 1 core|- Levels -",
      "1 0 core|  CW    21600.00     +150.00  Call Wall",
      "1 0 core|  PW    21200.00     -250.00  Put Wall",
      "1 0 core|  0DEX  21460.00     +10.00  Zero DEX",
      "1 0 core|  F1    21550.00     +100.00  high",
      "1 0 core|  F     21300.00     -150.00",
      "1 1 zones|- Zones -",
      "1 0 zones|  UCL   21580.00 - 21620.00   Resistance",
      "1 0 zones|  BZ    21440.00 - 21470.00   Battle Zone",
      "2 0 |- Regime -",
      "2 0 |- Net premium drift -",
      "2 0 |  Net premium drift  -$1.3B",
      "2 0 |  calls +$2.0M | puts -$3.1M | 1.5k contracts",
      "2 0 |- Forecast - dealer hedging (v4.1) -",
      "2 0 |  Vanna sell -$120.0M per IV pt",
      "2 0 |  Pressure zone 21420.00 - 21510.00",
      "2 0 |  Your map: bullish above 21500",
      "2 0 |  Own model: flip 21480",
      "4 0 |- Fear score, vs 12y of sessions -",
      "3 0 |- Top strikes by |GEX| - intensity [0-100], xN clustered -",
      "0 0 |  NQ = NDX x 1.0",
      "0 0 |  0DTE only",
      "0 0 |Descriptive positioning data - not investment advice.",
  };
  const std::vector<PanelLine> lines = Build();
  ASSERT_EQ(lines.size(), 39u);
  std::vector<std::string> kept;
  for (const std::string& row : Summaries(lines)) {
    if (std::find(expected.begin(), expected.end(), row) != expected.end()) kept.push_back(row);
  }
  EXPECT_EQ(kept, expected);
  const struct {
    size_t index;
    const char* style;
  } styles[] = {{0, "(105,194,255) bold"}, {1, "(150,160,178)"}, {2, "(220,226,238)"},
                {3, "(120,130,148)"},      {5, "(246,180,95)"},  {18, "(255,139,139) bold"},
                {36, "(130,140,158)"}};
  for (const auto& s : styles) {
    EXPECT_EQ(ColourText(lines[s.index].colour) + (lines[s.index].bold ? " bold" : ""), s.style) << s.index;
  }
}

TEST_F(PanelContentTest, CompactDetailDropsSecondaryLevelsAndNotes) {
  payload::LevelsSnapshot s;
  s.valid = s.locked = true;
  s.callWall = s.zeroDex = s.callOiWall = {true, 21600};
  s.zeroGammaModel = {true, 21490};
  s.focus[1] = {true, 21300, "Floor", "", ""};
  s.conversionNote = "NQ = NDX x 1.0";
  context.snapshot = &s;
  const std::vector<std::string> expected = {
      "ORDINEL  NQ   locked session",
      "Levels loaded.",
      "- Levels -",
      "  CW    21600.00     Call Wall",
      "  0y    21490.00     Zero Gamma (model)",
      "  F     21300.00     ",
      "Descriptive positioning data - not investment advice.",
  };
  EXPECT_EQ(Texts(Build({.fullDetail = false, .fear = false})), expected);
}

// No snapshot yet and an invalid one take the same path.
TEST_F(PanelContentTest, WithoutAValidSnapshotOnlyStatusLinesShow) {
  context = PanelContext{};
  context.scaleGuardTripped = true;
  context.statusLine = "Starting up...";
  context.errorLine = "HTTP 503";
  context.scaleGuardMessage = "Scale guard: apart.";
  const std::vector<PanelLine> lines = Build();
  EXPECT_EQ(Summaries(lines),
            (std::vector<std::string>{
                "0 2 |ORDINEL  -", "0 0 |Starting up...", "0 0 |HTTP 503", "0 0 |Scale guard: apart.",
                "0 0 |Nothing is drawn while the payload and the chart disagree on price.",
                "0 0 |Descriptive positioning data - not investment advice."}));
  EXPECT_EQ(lines[2].colour, (host::Rgb{255, 139, 139}));
}

TEST_F(PanelContentTest, ValidSnapshotWithoutLevelsKeepsTheLevelsHeader) {
  payload::LevelsSnapshot bare;
  bare.valid = true;
  context = PanelContext{};
  context.snapshot = &bare;
  EXPECT_EQ(Texts(Build()), (std::vector<std::string>{
                                "ORDINEL  -   dynamic", "- Levels -", "- Fear score, vs 12y of sessions -",
                                "  Fear score warming up - inputs arrive on the next refresh.",
                                "Descriptive positioning data - not investment advice."}));
}

TEST_F(PanelContentTest, ListIsCutToSixtyFourLines) {
  snapshot.profileRows.assign(40, payload::ProfileRow{21600, 1e8, 1, 50, ""});
  const std::vector<PanelLine> lines = Build();
  ASSERT_EQ(lines.size(), kMaxContentLines);
  EXPECT_EQ(lines.back().text, "  21600.00     [ 50] #####      ");
}

}  // namespace
}  // namespace panel
