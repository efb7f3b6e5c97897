#include "research/expiry_book.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "payload/payload_test_support.h"

namespace research {
namespace {

using Lines = std::vector<std::string>;

Lines Concat(Lines head, const Lines& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

// A book whose expiries each carry one row at strike 100 with gex 1; listed out of order and
// with entries that are not dated expiries.
const payload::ExpiryBook kLensResearch = payload::testing::ResearchOf(R"({"expiry_book":{"symbol":"QQQ",
    "source":"delayed_oi","method":"model_aggregates","scope":"front_book",
    "captured_at":1735832530000,"quotes_at":"1735832400000","coverage":{"served":6,
    "record_expirations":14,"strike_band_pct":4.5},"expirations":[
      {"expiry":"2025-03-21","rows":[{"strike":100,"gex":1}]},
      {"expiry":"2025-01-24","rows":[{"strike":100,"gex":1}]},
      {"expiry":"2025-01-17","rows":[{"strike":100,"gex":1}]},
      {"expiry":"2025-02-21","rows":[{"strike":100,"gex":1}]},
      {"expiry":"2025-01-21","rows":[{"strike":100,"gex":1}]},
      {"expiry":"2025-01-27","rows":[{"strike":100,"gex":1}]},
      {"expiry":"2025-02-30","rows":[]}, {"expiry":"soon"}, {"rows":[]}, "2025-01-18"]}})")
                                              .book;

const Lines kBookHead = {"Expiry book QQQ (UNDERLYING strikes) | delayed_oi / model_aggregates",
                         "Coverage 6 / 14 expiries | band 4.5%",
                         "Scope front_book | captured ms 1735832530000 | quotes ms 1735832400000"};

std::string Sums(const char* expiry) {
  return std::string(expiry) + " | gex 1 [1/1] | dex missing [0/1] | vex missing [0/1] | " +
         "charmex missing [0/1]";
}

Lines BookLines(const payload::ExpiryBook& research, bool lens, bool inspector, int lensIndex, double strike,
                const std::string& day, bool* dayValid = nullptr) {
  Lines lines;
  const bool valid = AppendExpiryBookLines(research, lens, inspector, lensIndex, strike, day, &lines);
  if (dayValid != nullptr) *dayValid = valid;
  return lines;
}

TEST(ExpiryBook, TheLensPicksTheServedExpiries) {
  const Lines kNone = {"0DTE: 0 / 6 served", "No expiry available for this lens; no synthetic chain."};
  const Lines kAvailable = {"Available expiries: 5 / 6 served",
                            Sums("2025-01-21"),
                            Sums("2025-01-24"),
                            Sums("2025-01-27"),
                            Sums("2025-02-21"),
                            Sums("2025-03-21")};
  const struct {
    int lens;
    const char* day;
    Lines tail;
  } cases[] = {
      {0, "2025-01-18", kNone},  // a Saturday
      {-3, "2025-01-18", kNone},
      {1, "2025-01-18", {"Week through Friday: 2 / 6 served", Sums("2025-01-21"), Sums("2025-01-24")}},
      {2, "2025-01-18", {"Next available third Friday: 1 / 6 served", Sums("2025-02-21")}},
      {3, "2025-01-18", kAvailable},
      {9, "2025-01-18", kAvailable},
      {0, "2025-01-17", {"0DTE: 1 / 6 served", Sums("2025-01-17")}},
  };
  for (const auto& c : cases) {
    bool dayValid = false;
    EXPECT_EQ(BookLines(kLensResearch, true, false, c.lens, 0, c.day, &dayValid), Concat(kBookHead, c.tail))
        << "lens " << c.lens << " on " << c.day;
    EXPECT_TRUE(dayValid) << "lens " << c.lens << " on " << c.day;
  }
}

TEST(ExpiryBook, AnInvalidDayStopsAfterTheHeader) {
  for (const char* day : {"2025-1-18", "1969-12-31", "2025-02-30"}) {
    bool dayValid = true;
    EXPECT_EQ(BookLines(kLensResearch, true, true, 3, 100, day, &dayValid), kBookHead) << day;
    EXPECT_FALSE(dayValid) << day;
  }
}

TEST(ExpiryBook, SumsAndExactStrikeRows) {
  const payload::ExpiryBook research =
      payload::testing::ResearchOf(R"({"expiry_book":{"note":"Model aggregates.",
      "expirations":[{"expiry":"2025-01-02","rows":[
        {"strike":530,"gex":1.5e8,"dex":"-2","vex":null,"charmex":0.1},
        {"strike":530.00000001,"gex":7},
        {"strike":525,"gex":0.2,"dex":3},
        {"strike":0,"gex":1000},{"strike":-5,"gex":1000},{"gex":1000},"row"]}]}})")
          .book;
  const Lines head = {"Expiry book  (UNDERLYING strikes) |  / ", "Coverage  /  expiries | band %",
                      "Scope  | captured ms  | quotes ms ", "Model aggregates.", "0DTE: 1 / 1 served"};
  const std::string sums =
      "2025-01-02 | gex 150000007.2 [3/3] | dex 1 [2/3] | vex missing [0/3] | charmex 0.1 [1/3]";
  const struct {
    bool lens, inspector;
    double strike;
    Lines tail;
  } cases[] = {
      {true, false, 530, {sums}},
      {false,
       true,
       530,
       {"2025-01-02 strike 530 | gex 150000000 | dex -2 | vex missing | charmex 0.1",
        "Book raw Greeks / IV / OI / volume: missing (model aggregates)."}},
      {true, true, 525.5, {sums, "2025-01-02: select exact UNDERLYING strike; no row at 525.5"}},
      {false, true, 0, {"2025-01-02: select exact UNDERLYING strike; no row at 0"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BookLines(research, c.lens, c.inspector, 0, c.strike, "2025-01-02"), Concat(head, c.tail))
        << c.lens << c.inspector << " " << c.strike;
  }
}

}  // namespace
}  // namespace research
