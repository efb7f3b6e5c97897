#include "live/live_research.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/synthetic_chain.h"
#include "live/live_levels.h"
#include "live/live_test_support.h"
#include "payload/payload_test_support.h"
#include "research/research_panel.h"
#include "research/research_response.h"
#include "study/symbol_resolution.h"
#include "text/format.h"

namespace live {
namespace {

using testing::CaptureAt;
using testing::kQqqRatio;
using testing::kSpxRatio;
using testing::NewYork;
using testing::RequestFor;
using testing::SampleQqqChain;

constexpr size_t kStudyResearchLimit = 0x800000;  // the study's body limit

// The research view after the study took `answer` for `symbol`, `esSource` and `day`; the
// status line says whether it was accepted.
research::ResearchView Taken(const service::FixtureAnswer& answer, const std::string& symbol,
                             const std::string& esSource, const std::string& day) {
  research::ResearchView view;
  EXPECT_EQ(answer.status, 200) << symbol << " " << esSource;
  research::AcceptResearchResponse(&view, payload::testing::ResearchOf(answer.body), symbol,
                                   study::ResearchSourceForSymbol(symbol, esSource), day);
  return view;
}

// Each row as the study compares it: provenance complete and a ratio above 0.
void ExpectComparableRows(const payload::ResearchAnswer& research, const std::string& tag) {
  for (const payload::PositioningCapture& row : research.history.rows) {
    for (const std::string* field : {&row.session_date, &row.source, &row.engine, &row.conversion_method,
                                     &row.scope, &row.source_snapshot_time, &row.regime}) {
      EXPECT_FALSE(field->empty()) << tag << ": " << payload::testing::Described(row);
    }
    EXPECT_GT(row.ts, 0) << tag;
    ASSERT_TRUE(row.conversion_ratio.has_value()) << tag;
    EXPECT_GT(*row.conversion_ratio, 0) << tag;
  }
}

class LiveResearch : public testing::LiveFixture {
 protected:
  service::FixtureAnswer Research(const std::string& query) {
    return AnswerResearch(context_, RequestFor("/market-context/indicator-research?" + query));
  }
};

TEST_F(LiveResearch, TheStudyAcceptsItsIdentityForEverySymbolAndSourceItSends) {
  const store::CaptureRecord qqq = CaptureAt(SampleQqqChain(), "2025-01-02 10:42:10", kQqqRatio);
  Add(qqq);
  engine::OptionChain spx = engine::SyntheticChain(1200, 5900);
  spx.underlying = "SPX";
  Add(CaptureAt(spx, "2025-01-02 10:42:10", kSpxRatio));
  const struct {
    const char* symbol;
    const char* esSource;
    const char* source;
    double ratio;
  } cases[] = {
      {"NQ", "SPY", "QQQ", kQqqRatio},  // the study sends its ES source whatever the symbol
      {"NQ", "SPX", "QQQ", kQqqRatio}, {"QQQ", "SPY", "QQQ", 1},
      {"ES", "SPX", "SPX", kSpxRatio}, {"SPX", "SPY", "SPX", 1},
  };
  for (const auto& c : cases) {
    const std::string tag = std::string(c.symbol) + "/" + c.esSource;
    const research::ResearchView view =
        Taken(Research(text::Format("symbol=%s&source=%s&day=2025-01-02", c.symbol, c.esSource)), c.symbol,
              c.esSource, "2025-01-02");
    EXPECT_EQ(view.status, research::kResearchCaptured) << tag;
    const payload::ResearchAnswer& r = view.research;
    EXPECT_EQ(r.source, c.source) << tag;
    EXPECT_EQ(r.book.symbol, c.source) << tag;
    ASSERT_EQ(r.history.rows.size(), 1u) << tag;
    EXPECT_EQ(*r.history.rows[0].conversion_ratio, c.ratio) << tag;
    ExpectComparableRows(r, tag);
    EXPECT_FALSE(r.book.expirations.empty()) << tag;
  }
  const payload::ResearchAnswer nq =
      payload::testing::ResearchOf(Research("symbol=NQ&source=SPY&day=2025-01-02").body);
  EXPECT_DOUBLE_EQ(*nq.history.rows[0].call_wall, *qqq.summary.levels.callWall * kQqqRatio) << "NQ points";
  for (const payload::BookExpiry& e : nq.book.expirations) {
    for (const payload::BookRow& row : e.rows) {
      EXPECT_LE(std::fabs(row.strike - 521.21), 52.121)
          << e.expiry << " " << row.strike << ": QQQ strikes near spot";
    }
  }
}

TEST_F(LiveResearch, RefusedRequestsSayWhyWithAStatus) {
  Add(CaptureAt(SampleQqqChain(), "2025-01-02 10:42:10", kQqqRatio));
  const struct {
    const char* query;
    int status;
    const char* error;
  } cases[] = {
      {"source=SPY&day=2025-01-02", 400, "missing_symbol"},
      {"symbol=NQ&source=SPY&day=2025-1-2", 400, "invalid_day"},
      {"symbol=NQ&source=SPY", 400, "invalid_day"},
      {"symbol=ES&source=SPY&day=2025-01-02", 404, "symbol_not_supported"},  // ES from SPY: not carried
      {"symbol=GC&source=SPY&day=2025-01-02", 404, "symbol_not_supported"},
  };
  for (const auto& c : cases) {
    const service::FixtureAnswer answer = Research(c.query);
    EXPECT_EQ(answer.status, c.status) << c.query;
    EXPECT_NE(answer.body.find(std::string("\"error\":\"") + c.error + "\""), std::string::npos)
        << c.query << answer.body;
  }
  EXPECT_NE(
      Research("symbol=ES&source=SPY&day=2025-01-02").body.find("Research for ES reads the options of SPY."),
      std::string::npos);
}

TEST_F(LiveResearch, ADayWithoutCapturesIsAnEmptyHistoryTheStudyAccepts) {
  const research::ResearchView view =
      Taken(Research("symbol=NQ&source=SPY&day=2025-01-05"), "NQ", "SPY", "2025-01-05");
  EXPECT_EQ(view.status, research::kResearchCaptured);
  EXPECT_TRUE(view.research.history.rows.empty());
  EXPECT_EQ(view.research.history.note, "No stored capture of QQQ on 2025-01-05.");
  EXPECT_TRUE(view.research.book.expirations.empty());
  const std::vector<std::string> lines =
      research::BuildResearchPanelLines(view, true, false, false, 0, 0, "2025-01-05");
  EXPECT_EQ(lines.back(), "No dated capture available for this session.");
}

// Two captures of one provenance give real change lines in the research panel, and the two
// levels answers served from them raise the study's structural alert.
TEST_F(LiveResearch, TwoCapturesGiveChangeLinesAndAMovedWallRaisesAnAlert) {
  const store::CaptureRecord first = CaptureAt(SampleQqqChain(), "2025-01-02 09:30", kQqqRatio);
  const store::CaptureRecord later =
      CaptureAt(testing::WithCallOi(SampleQqqChain(), 540, 400000), "2025-01-02 11:00", kQqqRatio);
  ASSERT_NE(*first.summary.levels.callWall, *later.summary.levels.callWall);
  research::ResearchView view;
  const auto live = [&] {
    const service::FixtureAnswer answer =
        AnswerLevels(context_, RequestFor("/extension/levels?symbol=NQ&basis=signed_flow"));
    return research::RecordLiveCapture(&view, payload::testing::LiveMapOf(answer.body), "NQ", true, 60, 0.25,
                                       1.7e12);
  };
  Add(first);
  EXPECT_EQ(live(), "") << "the first live capture only arms the comparison";
  Add(later);
  const std::string alert = live();
  EXPECT_EQ(alert.substr(0, 42), "NQ / QQQ / 2025-01-02: call wall migration") << alert;

  view.research = {};
  view.captured = false;
  const research::ResearchView taken =
      Taken(Research("symbol=NQ&source=SPY&day=2025-01-02"), "NQ", "SPY", "2025-01-02");
  view.research = taken.research;
  view.captured = taken.captured;
  const std::vector<std::string> lines =
      research::BuildResearchPanelLines(view, true, false, false, 0, 0, "2025-01-02");
  const double move = (*later.summary.levels.callWall - *first.summary.levels.callWall) * kQqqRatio;
  const std::vector<std::string> tail(lines.end() - 4, lines.end());
  EXPECT_EQ(tail[0], text::Format("CW positioning %.12g | conversion/basis 0 (chart points)", move));
  EXPECT_EQ(tail[1].substr(0, 15), "PW positioning ");
  EXPECT_EQ(tail[3].substr(0, 15), "Net GEX change ");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "History 2 rows | excluded 0 | limit 240"), lines.end());
}

// The largest day: a capture a minute through the session of a large chain, and captures every
// quarter hour before it.
TEST(LiveResearchSize, TheLargestDayStaysUnderTheStudysLimitAndKeepsItsOpen) {
  engine::OptionChain chain = engine::SyntheticChain(24000, 5900);
  chain.underlying = "SPX";
  const store::CaptureRecord large = CaptureAt(chain, "2025-01-02 16:14", kSpxRatio);
  ResearchDay d{
      "ES", "2025-01-02", "SPX", "ES", true, NewYork("2025-01-02 09:30"), NewYork("2025-01-02 16:15"),
      {},   large};
  for (double t = NewYork("2025-01-02 04:00"); t < NewYork("2025-01-02 16:15"); t += t < d.open ? 900 : 60) {
    store::CaptureSummary s = large.summary;
    s.asOf = static_cast<int64_t>(t);
    s.provenance.sourceSnapshotTime = formats::UtcTimestampText(t);
    *s.levels.callWall += static_cast<double>(d.captures.size() % 7) * 5;
    d.captures.push_back(s);
  }
  ASSERT_EQ(d.captures.size(), 22u + 405u);
  const std::string body = ResearchAnswerJson(d, kResearchRowLimit);
  EXPECT_LT(body.size(), kStudyResearchLimit);
  const research::ResearchView view = Taken({200, "application/json", body}, "ES", "SPX", "2025-01-02");
  EXPECT_EQ(view.status, research::kResearchCaptured);
  const payload::ResearchAnswer& r = view.research;
  ASSERT_EQ(r.history.rows.size(), kResearchRowLimit);
  EXPECT_EQ(r.history.excluded, "187");
  EXPECT_EQ(r.history.limit, "240");
  EXPECT_EQ(r.history.rows.front().source_snapshot_time, "2025-01-02T09:00:00Z") << "the day's first";
  EXPECT_EQ(r.history.rows.back().source_snapshot_time, "2025-01-02T21:14:00Z") << "its latest";
  const auto open = std::find_if(r.history.rows.begin(), r.history.rows.end(), [](const auto& row) {
    return row.source_snapshot_time == "2025-01-02T14:30:00Z";
  });
  EXPECT_NE(open, r.history.rows.end()) << "the session's first capture";
  ExpectComparableRows(r, "largest day");
  EXPECT_EQ(r.book.served, r.book.record_expirations) << "a large chain's band fits the book";
  EXPECT_GT(r.book.expirations.size(), 20u);
  EXPECT_EQ(
      r.history.note,
      "240 of the 427 stored captures of SPX on 2025-01-02, oldest first, spread evenly over the day with "
      "its first, its session's first from 09:30 and its latest kept; levels in ES points at each "
      "capture's own ratio.");
}

}  // namespace
}  // namespace live
