#include "live/live_history.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "json/json_test_support.h"
#include "live/live_test_support.h"
#include "live/strike_history.h"
#include "text/format.h"

namespace live {
namespace {

using testing::CaptureAt;
using testing::kQqqRatio;
using testing::NewYork;
using testing::RequestFor;
using testing::SampleQqqChain;

// The numbers of a JSON list, "null" for a null.
std::string Numbers(json::Node list) {
  std::string out;
  for (size_t i = 0; i < list.size(); ++i) {
    const json::Node v = list.ElementAt(i);
    out +=
        (out.empty() ? "" : ",") + (v.IsNumber() ? text::Format("%.10g", v.number()) : std::string("null"));
  }
  return out;
}

class LiveHistory : public testing::LiveFixture {
 protected:
  void SetUp() override {
    LiveFixture::SetUp();
    for (const char* time : {"2025-01-02 08:00", "2025-01-02 09:30", "2025-01-02 12:00"}) {
      captures_.push_back(CaptureAt(SampleQqqChain(), time, kQqqRatio));
      Add(captures_.back());
    }
  }
  std::vector<store::CaptureRecord> captures_;
};

TEST_F(LiveHistory, TheDaysLevelsInThePricesOfTheSymbolAsked) {
  for (const auto& [symbol, ratio] : {std::pair{"NQ", kQqqRatio}, std::pair{"QQQ", 1.0}}) {
    const service::FixtureAnswer answer =
        AnswerHistory(context_, RequestFor(std::string("/history?day=2025-01-02&symbol=") + symbol));
    ASSERT_EQ(answer.status, 200) << symbol;
    const json::testing::ParsedJson root(answer.body);
    EXPECT_EQ(json::Member(root, "source").text(), "QQQ") << symbol;
    EXPECT_EQ(json::Member(root, "conversion_method").text(), ratio == 1 ? "none" : "ratio") << symbol;
    EXPECT_EQ(Numbers(json::Member(root, "times")),
              text::Format("%.10g,%.10g,%.10g", NewYork("2025-01-02 08:00"), NewYork("2025-01-02 09:30"),
                           NewYork("2025-01-02 12:00")))
        << symbol;
    const json::Node series = json::Member(root, "series");
    const double wall = *captures_[0].summary.levels.callWall * ratio;
    EXPECT_EQ(Numbers(json::Member(series, "call_wall")), text::Format("%.10g,%.10g,%.10g", wall, wall, wall))
        << symbol;
    const std::string spot = ratio == 1 ? "521.21" : "21499.9125";  // to a ten-thousandth, as levels are
    EXPECT_EQ(Numbers(json::Member(series, "spot")), spot + "," + spot + "," + spot) << symbol;
    EXPECT_EQ(Numbers(json::Member(series, "conversion_ratio")),
              text::Format("%g,%g,%g", ratio, ratio, ratio))
        << symbol;
    for (const char* key : {"spot", "put_wall", "gamma_flip", "vol_trigger", "max_pain", "zero_gamma",
                            "zero_dex", "call_oi_wall", "put_oi_wall", "net_gex", "net_dex"}) {
      EXPECT_EQ(json::Member(series, key).size(), 3u) << symbol << " " << key;
    }
  }
}

TEST_F(LiveHistory, AtMostTheLimitWithTheFirstTheOpenAndTheLatest) {
  Add(CaptureAt(SampleQqqChain(), "2025-01-02 13:00", kQqqRatio));
  Add(CaptureAt(SampleQqqChain(), "2025-01-02 14:00", kQqqRatio));
  HistoryDay day;
  service::FixtureAnswer refusal;
  ASSERT_TRUE(ReadHistoryDay(context_, RequestFor("/history?symbol=NQ&day=2025-01-02"), &day, &refusal));
  const json::testing::ParsedJson root(HistoryJson(day, 3));
  EXPECT_EQ(Numbers(json::Member(root, "times")),
            text::Format("%.10g,%.10g,%.10g", NewYork("2025-01-02 08:00"), NewYork("2025-01-02 09:30"),
                         NewYork("2025-01-02 14:00")));
  EXPECT_EQ(json::Member(root, "captures").number(), 5);
  EXPECT_EQ(json::Member(root, "excluded").number(), 2);
}

TEST_F(LiveHistory, RefusalsAndTheDefaultDay) {
  clock_.Set(NewYork("2025-01-02 18:00"));
  const struct {
    const char* target;
    int status;
  } cases[] = {
      {"/history?symbol=NQ", 200},  // today in New York
      {"/history?symbol=NQ&day=2025-01-03", 200},
      {"/history?day=2025-01-02", 400},
      {"/history?symbol=NQ&day=20250102", 400},
      {"/history?symbol=YM&day=2025-01-02", 404},
      {"/history/strikes?symbol=NQ", 200},
      {"/history/strikes?symbol=NQ&day=2025-02-30", 400},
  };
  for (const auto& c : cases) {
    const service::FixtureRequest request = RequestFor(c.target);
    const service::FixtureAnswer answer = request.path == "/history" ? AnswerHistory(context_, request)
                                                                     : AnswerStrikeHistory(context_, request);
    EXPECT_EQ(answer.status, c.status) << c.target;
  }
  const json::testing::ParsedJson today(AnswerHistory(context_, RequestFor("/history?symbol=NQ")).body);
  EXPECT_EQ(json::Member(today, "day").text(), "2025-01-02");
  EXPECT_EQ(json::Member(today, "captures").number(), 3);
}

TEST_F(LiveHistory, TheStrikeMatrixIsBoundedAroundTheLatestSpot) {
  const service::FixtureAnswer answer =
      AnswerStrikeHistory(context_, RequestFor("/history/strikes?symbol=NQ&day=2025-01-02"));
  ASSERT_EQ(answer.status, 200);
  const json::testing::ParsedJson root(answer.body);
  const json::Node strikes = json::Member(root, "underlying_strikes");
  ASSERT_EQ(strikes.size(), kStrikeColumnLimit);
  EXPECT_EQ(json::Member(root, "times").size(), 3u);
  EXPECT_EQ(Numbers(json::Member(root, "ratios")), text::Format("%g,%g,%g", kQqqRatio, kQqqRatio, kQqqRatio));
  std::vector<double> kept;
  for (size_t k = 0; k < strikes.size(); ++k) kept.push_back(strikes.ElementAt(k).number());
  ASSERT_TRUE(std::is_sorted(kept.begin(), kept.end()));
  const double nearest = std::max(std::fabs(kept.front() - 521.21), std::fabs(kept.back() - 521.21));
  for (const store::StrikeExposure& e : captures_[2].exposures) {
    if (!std::binary_search(kept.begin(), kept.end(), e.strike)) {
      EXPECT_GE(std::fabs(e.strike - 521.21), nearest)
          << e.strike << " left out, nearer spot than a kept one";
    }
  }
  EXPECT_EQ(json::Member(root, "strikes").ElementAt(0).number(), kept.front() * kQqqRatio);
  const json::Node matrix = json::Member(root, "net_gex");
  ASSERT_EQ(matrix.size(), 3u);
  const size_t at530 = static_cast<size_t>(std::lower_bound(kept.begin(), kept.end(), 530.0) - kept.begin());
  ASSERT_EQ(kept[at530], 530);
  for (size_t t = 0; t < 3; ++t) {
    double sum530 = 0;
    for (const store::StrikeExposure& e : captures_[t].exposures) sum530 += e.strike == 530 ? e.gex : 0;
    EXPECT_EQ(matrix.ElementAt(t).size(), kStrikeColumnLimit) << t;
    EXPECT_NEAR(matrix.ElementAt(t).ElementAt(at530).number(), sum530, std::fabs(sum530) * 1e-6 + 1) << t;
  }
}

TEST(StrikeHistory, AStrikeACaptureDoesNotHaveIsNull) {
  HistoryDay day;
  day.symbol = day.source = "QQQ";
  store::CaptureSummary s;
  s.id = 1;
  s.spot = 100;
  day.captures = {s};
  s.id = 2;
  day.captures.push_back(s);
  const std::vector<store::CaptureExposures> exposures = {
      {1,
       10,
       {{99, "2025-01-03", 5, 0, 0, 0}, {101, "2025-01-03", 7, 0, 0, 0}, {101, "2025-01-10", 1, 0, 0, 0}}},
      {2, 20, {{99, "2025-01-03", 6, 0, 0, 0}, {130, "2025-01-03", 9, 0, 0, 0}}},
  };
  const json::testing::ParsedJson root(StrikeHistoryJson(day, exposures, 2));
  EXPECT_EQ(Numbers(json::Member(root, "underlying_strikes")), "99,101") << "130 is furthest from spot";
  EXPECT_EQ(Numbers(json::Member(root, "net_gex").ElementAt(0)), "5,8") << "summed over expirations";
  EXPECT_EQ(Numbers(json::Member(root, "net_gex").ElementAt(1)), "6,null");
}

}  // namespace
}  // namespace live
