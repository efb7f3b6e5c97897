#include "store/sqlite_capture_store.h"

#include <gtest/gtest.h>

#include <cmath>

#include "store/capture_blob.h"
#include "store/sqlite_statement.h"
#include "store/store_test_support.h"
#include "text/format.h"

namespace store {
namespace {

std::string Opt(const std::optional<double>& v) { return v ? text::RoundTripDouble(*v) : "-"; }

// Every field of a summary on one line, so that a comparison names what differs.
std::string Line(const CaptureSummary& s) {
  const Provenance& p = s.provenance;
  const KeyLevels& l = s.levels;
  return text::Format(
             "#%d %s fetched=%d asOf=%d %s | %s|%s|%s|%s|%s|%s|%s|%s ratio=%s | spot=%s r=%s q=%s | ", s.id,
             s.symbol, s.fetchedAt, s.asOf, s.sessionDate, p.source, p.engine, p.conversionMethod, p.scope,
             p.selectedExpiration, p.sourceSnapshotTime, p.regime, s.chainDigest,
             text::RoundTripDouble(p.conversionRatio), text::RoundTripDouble(s.spot),
             text::RoundTripDouble(s.rate), text::RoundTripDouble(s.dividend)) +
         text::Format("cw=%s pw=%s gf=%s vt=%s mp=%s zg=%s zd=%s cow=%s pow=%s gex=%s dex=%s n=%d",
                      Opt(l.callWall), Opt(l.putWall), Opt(l.gammaFlip), Opt(l.volTrigger), Opt(l.maxPain),
                      Opt(l.zeroGamma), Opt(l.zeroDex), Opt(l.callOiWall), Opt(l.putOiWall),
                      text::RoundTripDouble(s.netGex), text::RoundTripDouble(s.netDex), s.contractCount);
}

// The whole capture, its packed contracts and exposures included.
std::string Whole(const CaptureRecord& r) {
  std::string contracts, exposures, error;
  EXPECT_TRUE(PackContracts(r.contracts, &contracts, &error)) << error;
  EXPECT_TRUE(PackExposures(r.exposures, &exposures, &error)) << error;
  return Line(r.summary) + text::Format(" contracts=%d:%s exposures=%d:%s", r.contracts.size(),
                                        ChainDigest("", r.contracts), r.exposures.size(),
                                        ChainDigest(exposures, {}));
}

std::vector<int64_t> Ids(const std::vector<CaptureSummary>& rows) {
  std::vector<int64_t> ids;
  for (const CaptureSummary& r : rows) ids.push_back(r.id);
  return ids;
}

int64_t IdOf(const std::optional<CaptureRecord>& r) { return r ? r->summary.id : 0; }

TEST(SqliteCaptureStore, FullCaptureRoundTripsThroughAReopen) {
  const std::string path = FreshStorePath("round_trip");
  CaptureRecord capture = EngineCapture(engine::SyntheticChain(5000, 521.21), 1735832530);
  capture.summary.levels.zeroDex.reset();  // an absent level stays absent
  ASSERT_GT(capture.exposures.size(), 1000u);
  int64_t id = 0;
  {
    std::unique_ptr<CaptureStore> s = OpenOrFail(path);
    ASSERT_NE(s, nullptr);
    id = AppendOrFail(*s, capture);
    EXPECT_EQ(id, 1);
  }
  capture.summary.id = id;
  capture.summary.contractCount = static_cast<int64_t>(capture.contracts.size());
  std::unique_ptr<CaptureStore> s = OpenOrFail(path);
  ASSERT_NE(s, nullptr);
  std::optional<CaptureRecord> back;
  std::string error;
  ASSERT_TRUE(s->ById(id, &back, &error)) << error;
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(Whole(*back), Whole(capture));
  ASSERT_TRUE(s->Latest("QQQ", &back, &error)) << error;
  EXPECT_EQ(IdOf(back), id);
  ASSERT_TRUE(s->ById(id + 1, &back, &error)) << error;
  EXPECT_FALSE(back.has_value());
}

// Captures of two symbols over two days, appended out of time order.
class StoreWithDays : public testing::Test {
 protected:
  void SetUp() override {
    store_ = OpenOrFail(FreshStorePath(testing::UnitTest::GetInstance()->current_test_info()->name()));
    ASSERT_NE(store_, nullptr);
    // id: 1       2        3        4        5        6 (SPY)  7
    for (const auto& [symbol, asOf, day] :
         std::vector<std::tuple<const char*, int64_t, const char*>>{{"QQQ", 200, "2025-01-02"},
                                                                    {"QQQ", 100, "2025-01-02"},
                                                                    {"QQQ", 300, "2025-01-02"},
                                                                    {"QQQ", 900, "2025-01-03"},
                                                                    {"QQQ", 300, "2025-01-02"},
                                                                    {"SPY", 250, "2025-01-02"},
                                                                    {"QQQ", 400, "2025-01-02"}}) {
      AppendOrFail(*store_, SmallCapture(symbol, asOf, day, static_cast<double>(asOf) / 100));
    }
  }
  std::unique_ptr<CaptureStore> store_;
  std::string error_;
};

TEST_F(StoreWithDays, DaysReadInTimeOrderThenAppendOrder) {
  std::vector<CaptureSummary> rows;
  ASSERT_TRUE(store_->DaySummaries("QQQ", "2025-01-02", &rows, &error_)) << error_;
  EXPECT_EQ(Ids(rows), (std::vector<int64_t>{2, 1, 3, 5, 7}));
  EXPECT_EQ(Line(rows[0]), Line([] {
              CaptureSummary s = SmallCapture("QQQ", 100, "2025-01-02", 1).summary;
              s.id = 2;
              s.contractCount = 2;
              return s;
            }()));
  ASSERT_TRUE(store_->DaySummaries("QQQ", "2025-01-03", &rows, &error_)) << error_;
  EXPECT_EQ(Ids(rows), std::vector<int64_t>{4});
  ASSERT_TRUE(store_->DaySummaries("QQQ", "2025-01-04", &rows, &error_)) << error_;
  EXPECT_TRUE(rows.empty());
  std::vector<std::string> symbols;
  ASSERT_TRUE(store_->Symbols(&symbols, &error_)) << error_;
  EXPECT_EQ(symbols, (std::vector<std::string>{"QQQ", "SPY"}));
}

TEST_F(StoreWithDays, LatestAndTheCapturesAroundATime) {
  struct Case {
    const char* query;
    int64_t time;
    int64_t id;  // 0: none
  };
  const Case cases[] = {
      {"first at or after", 0, 2},   {"first at or after", 100, 2}, {"first at or after", 101, 1},
      {"first at or after", 300, 3}, {"first at or after", 901, 0}, {"last before", 100, 0},
      {"last before", 101, 2},       {"last before", 300, 1},       {"last before", 301, 5},
      {"last before", 10000, 4},
  };
  for (const Case& c : cases) {
    std::optional<CaptureRecord> r;
    const bool ok = std::string(c.query) == "last before"
                        ? store_->LastBefore("QQQ", c.time, &r, &error_)
                        : store_->FirstAtOrAfter("QQQ", c.time, &r, &error_);
    ASSERT_TRUE(ok) << error_;
    EXPECT_EQ(IdOf(r), c.id) << c.query << " " << c.time;
    if (r) {
      EXPECT_EQ(r->contracts.size(), 2u) << c.query << " " << c.time;
    }
  }
  std::optional<CaptureRecord> latest;
  ASSERT_TRUE(store_->Latest("QQQ", &latest, &error_)) << error_;
  EXPECT_EQ(IdOf(latest), 4);
  ASSERT_TRUE(store_->Latest("IWM", &latest, &error_)) << error_;
  EXPECT_FALSE(latest.has_value());
  std::optional<std::string> digest;
  ASSERT_TRUE(store_->LatestDigest("SPY", &digest, &error_)) << error_;
  EXPECT_EQ(digest, SmallCapture("SPY", 250, "2025-01-02", 2.5).summary.chainDigest);
  ASSERT_TRUE(store_->LatestDigest("IWM", &digest, &error_)) << error_;
  EXPECT_FALSE(digest.has_value());
}

TEST_F(StoreWithDays, DayExposuresAreSpreadOverTheDayWithinTheLimit) {
  struct Case {
    size_t limit;
    std::vector<int64_t> ids;
  };
  const Case cases[] = {{0, {}},
                        {1, {7}},
                        {2, {2, 7}},
                        {3, {2, 3, 7}},
                        {4, {2, 1, 3, 7}},
                        {5, {2, 1, 3, 5, 7}},
                        {50, {2, 1, 3, 5, 7}}};
  for (const Case& c : cases) {
    std::vector<CaptureExposures> out;
    ASSERT_TRUE(store_->DayExposures("QQQ", "2025-01-02", c.limit, &out, &error_)) << error_;
    std::vector<int64_t> ids;
    for (const CaptureExposures& e : out) {
      ids.push_back(e.id);
      EXPECT_EQ(e.exposures.size(), 2u) << c.limit;
    }
    EXPECT_EQ(ids, c.ids) << "limit " << c.limit;
  }
  std::vector<CaptureExposures> out;
  ASSERT_TRUE(store_->DayExposures("QQQ", "2025-01-02", 1, &out, &error_)) << error_;
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].asOf, 400);
  EXPECT_EQ(out[0].exposures[0].gex, 1.25e7 * 4);
}

TEST_F(StoreWithDays, PruneRemovesWhatWasFetchedBeforeATime) {
  size_t removed = 99;
  ASSERT_TRUE(store_->PruneFetchedBefore(103, &removed, &error_)) << error_;
  EXPECT_EQ(removed, 0u) << "the earliest was fetched at 103";
  ASSERT_TRUE(store_->PruneFetchedBefore(304, &removed, &error_)) << error_;
  EXPECT_EQ(removed, 5u);
  std::vector<CaptureSummary> rows;
  ASSERT_TRUE(store_->DaySummaries("QQQ", "2025-01-02", &rows, &error_)) << error_;
  EXPECT_EQ(Ids(rows), std::vector<int64_t>{7});
  std::optional<CaptureRecord> gone;
  ASSERT_TRUE(store_->ById(1, &gone, &error_)) << error_;
  EXPECT_FALSE(gone.has_value());
  std::vector<std::string> symbols;
  ASSERT_TRUE(store_->Symbols(&symbols, &error_)) << error_;
  EXPECT_EQ(symbols, std::vector<std::string>{"QQQ"});
  ASSERT_TRUE(store_->PruneFetchedBefore(1000000, &removed, &error_)) << error_;
  EXPECT_EQ(removed, 2u);
  // Ids are never given twice, even once every capture is gone.
  EXPECT_EQ(AppendOrFail(*store_, SmallCapture("QQQ", 500, "2025-01-02", 5)), 8);
}

TEST(SqliteCaptureStore, AppendRefusesWhatItCannotKeepAndStoresNothing) {
  const std::string path = FreshStorePath("refusals");
  std::unique_ptr<CaptureStore> s = OpenOrFail(path);
  ASSERT_NE(s, nullptr);
  struct Case {
    void (*spoil)(CaptureRecord* r);
    const char* error;
  };
  const Case cases[] = {
      {[](CaptureRecord* r) { r->summary.symbol.clear(); }, "cannot store the capture: it names no symbol"},
      {[](CaptureRecord* r) { r->summary.chainDigest.clear(); },
       "cannot store the capture: it carries no chain digest"},
      {[](CaptureRecord* r) { r->summary.sessionDate = "2025-1-2"; },
       "cannot store the capture: its session date '2025-1-2' is not a YYYY-MM-DD date"},
      {[](CaptureRecord* r) { r->summary.levels.maxPain = HUGE_VAL; },
       "cannot store the capture: it holds a number that is not finite"},
      {[](CaptureRecord* r) { r->exposures[1].expiration = "soon"; },
       "cannot store the capture: exposure 2 cannot be stored: expiration 'soon' is not a date"},
  };
  for (const Case& c : cases) {
    CaptureRecord r = SmallCapture("QQQ", 100, "2025-01-02", 1);
    c.spoil(&r);
    int64_t id = -1;
    std::string error;
    EXPECT_FALSE(s->Append(r, &id, &error)) << c.error;
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(id, -1) << c.error;
  }
  std::vector<std::string> symbols;
  std::string error;
  ASSERT_TRUE(s->Symbols(&symbols, &error)) << error;
  EXPECT_TRUE(symbols.empty());
}

TEST(SqliteCaptureStore, AStoredBlobThatIsCorruptFailsTheReadWithAMessage) {
  const std::string path = FreshStorePath("corrupt");
  std::unique_ptr<CaptureStore> s = OpenOrFail(path);
  ASSERT_NE(s, nullptr);
  const int64_t id = AppendOrFail(*s, SmallCapture("QQQ", 100, "2025-01-02", 1));
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
  Connection other(raw);
  std::string error;
  ASSERT_TRUE(Execute(raw, "UPDATE capture_data SET contracts = x'0103', exposures = x'01'", &error))
      << error;
  std::optional<CaptureRecord> r;
  EXPECT_FALSE(s->ById(id, &r, &error));
  EXPECT_EQ(error,
            "capture 1: the contracts blob is corrupt: a count larger than the bytes that follow at byte 2");
  std::vector<CaptureExposures> day;
  EXPECT_FALSE(s->DayExposures("QQQ", "2025-01-02", 10, &day, &error));
  EXPECT_EQ(error, "capture 1: the exposures blob is corrupt: it ends too early at byte 1");
  std::vector<CaptureSummary> rows;
  EXPECT_TRUE(s->DaySummaries("QQQ", "2025-01-02", &rows, &error)) << "summaries need no blob: " << error;
}

}  // namespace
}  // namespace store
