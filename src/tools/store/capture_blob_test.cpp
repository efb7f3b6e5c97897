#include "store/capture_blob.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/synthetic_chain.h"
#include "store/chain_digest.h"
#include "text/format.h"

namespace store {
namespace {

std::string Line(const engine::OptionContract& c) {
  return text::Format("%s %s %s oi=%s iv=%s vol=%s", c.expiration, text::RoundTripDouble(c.strike),
                      c.kind == engine::OptionKind::kCall ? "C" : "P", text::RoundTripDouble(c.openInterest),
                      text::RoundTripDouble(c.impliedVol), text::RoundTripDouble(c.volume));
}

std::string Line(const StrikeExposure& e) {
  return text::Format("%s %s %s %s %s %s", e.expiration, text::RoundTripDouble(e.strike),
                      text::RoundTripDouble(e.gex), text::RoundTripDouble(e.dex),
                      text::RoundTripDouble(e.vex), text::RoundTripDouble(e.charm));
}

template <typename T>
std::vector<std::string> Lines(const std::vector<T>& items) {
  std::vector<std::string> out;
  for (const T& item : items) out.push_back(Line(item));
  return out;
}

// Two runs of one strike, -0 among the values, one below single precision's smallest.
std::vector<StrikeExposure> SampleExposures() {
  return {{521, "2025-01-02", 1.2345678901234e9, -3.3e8, 0.1 + 0.2, -4e-300},
          {521, "2024-12-31", -0.0, 3.4e38, -1e-20, 7},
          {100.25, "2031-06-20", 0, 0, 0, 0},
          {521, "2031-06-20", 1, 2, 3, 4}};
}

// The exposures as kept: each value rounded to single precision.
std::vector<StrikeExposure> AsKept(std::vector<StrikeExposure> exposures) {
  for (StrikeExposure& e : exposures) {
    for (double* v : {&e.gex, &e.dex, &e.vex, &e.charm}) *v = static_cast<float>(*v);
  }
  return exposures;
}

TEST(CaptureBlob, ContractsRoundTripExactlyAndCompactly) {
  engine::OptionChain chain = engine::SyntheticChain(20000, 521.21);
  // Values no decimal form holds must survive as well, and an expiration before 1970.
  chain.contracts[7].impliedVol = 0.1 + 0.2;
  chain.contracts[8].openInterest = 1e300;
  chain.contracts[9].expiration = "1969-12-31";
  std::string blob, error;
  ASSERT_TRUE(PackContracts(chain.contracts, &blob, &error)) << error;
  EXPECT_EQ(static_cast<unsigned char>(blob[0]), kContractsFormat);
  EXPECT_LT(blob.size(), 10 * chain.contracts.size()) << "bytes per contract";
  std::vector<engine::OptionContract> back;
  ASSERT_TRUE(UnpackContracts(blob, &back, &error)) << error;
  EXPECT_EQ(Lines(back), Lines(chain.contracts));
  EXPECT_EQ(ChainDigest(chain.asOfText, back), ChainDigest(chain.asOfText, chain.contracts));
}

TEST(CaptureBlob, ExposuresAndEmptyListsRoundTrip) {
  const std::vector<StrikeExposure> exposures = SampleExposures();
  std::string blob, error;
  ASSERT_TRUE(PackExposures(exposures, &blob, &error)) << error;
  std::vector<StrikeExposure> back;
  ASSERT_TRUE(UnpackExposures(blob, &back, &error)) << error;
  EXPECT_EQ(Lines(back), Lines(AsKept(exposures)));
  EXPECT_EQ(back[0].gex, 1234567936) << "seven significant digits";
  EXPECT_TRUE(std::signbit(back[1].gex)) << "-0 keeps its sign";
  EXPECT_EQ(back[0].charm, 0);
  std::string twoStrikes, oneStrike;
  ASSERT_TRUE(
      PackExposures({{521, "2025-01-02", 1, 2, 3, 4}, {522, "2025-01-03", 1, 2, 3, 4}}, &twoStrikes, &error));
  ASSERT_TRUE(
      PackExposures({{521, "2025-01-02", 1, 2, 3, 4}, {521, "2025-01-03", 1, 2, 3, 4}}, &oneStrike, &error));
  EXPECT_EQ(twoStrikes.size() - oneStrike.size(), 3u) << "a repeated strike is not written again";

  ASSERT_TRUE(PackExposures({}, &blob, &error));
  back = exposures;
  ASSERT_TRUE(UnpackExposures(blob, &back, &error)) << error;
  EXPECT_TRUE(back.empty());
  ASSERT_TRUE(PackContracts({}, &blob, &error));
  std::vector<engine::OptionContract> contracts(1);
  ASSERT_TRUE(UnpackContracts(blob, &contracts, &error)) << error;
  EXPECT_TRUE(contracts.empty());
}

TEST(CaptureBlob, PackingRefusesWhatCannotBeReadBack) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    std::vector<engine::OptionContract> contracts;
    std::vector<StrikeExposure> exposures;
    const char* error;
  };
  const Case cases[] = {
      {{{"2025-01-17", 500, engine::OptionKind::kCall, 1, 0.2, 0},
        {"2025-02-30", 500, engine::OptionKind::kPut, 1, 0.2, 0}},
       {},
       "contract 2 cannot be stored: expiration '2025-02-30' is not a date"},
      {{{"2025-01-17", 500, engine::OptionKind::kCall, 1, nan, 0}},
       {},
       "contract 1 cannot be stored: a number that is not finite"},
      {{},
       {{500, "17-01-2025", 1, 1, 1, 1}},
       "exposure 1 cannot be stored: expiration '17-01-2025' is not a date"},
      {{},
       {{500, "2025-01-17", 1, HUGE_VAL, 1, 1}},
       "exposure 1 cannot be stored: a number that is not finite"},
      {{},
       {{500, "2025-01-17", 1, 1, 1, 1}, {500, "2025-01-17", 1, 1, -1e39, 1}},
       "exposure 2 cannot be stored: a number beyond single precision"},
  };
  for (const Case& c : cases) {
    std::string blob = "untouched", error;
    const bool ok = c.exposures.empty() ? PackContracts(c.contracts, &blob, &error)
                                        : PackExposures(c.exposures, &blob, &error);
    EXPECT_FALSE(ok) << c.error;
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(blob, "untouched") << c.error;
  }
}

// Every prefix of a valid blob is refused (never read past its end: the sanitizer build
// checks that), and so are the corruptions a reader must not trust.
TEST(CaptureBlob, TruncatedAndCorruptBlobsAreRefused) {
  std::string contracts, exposures, error;
  const engine::OptionChain chain = engine::SyntheticChain(60, 100);
  ASSERT_TRUE(PackContracts(chain.contracts, &contracts, &error));
  ASSERT_TRUE(PackExposures(SampleExposures(), &exposures, &error));
  for (size_t n = 0; n < contracts.size(); ++n) {
    std::vector<engine::OptionContract> out;
    EXPECT_FALSE(UnpackContracts(std::string_view(contracts).substr(0, n), &out, &error)) << n;
    EXPECT_TRUE(error.starts_with("the contracts blob is corrupt: ")) << n << ": " << error;
  }
  for (size_t n = 0; n < exposures.size(); ++n) {
    std::vector<StrikeExposure> out;
    EXPECT_FALSE(UnpackExposures(std::string_view(exposures).substr(0, n), &out, &error)) << n;
    EXPECT_TRUE(error.starts_with("the exposures blob is corrupt: ")) << n << ": " << error;
  }
  struct Case {
    const char* name;
    std::string blob;
    std::string error;
  };
  const Case cases[] = {
      {"format 2", "\x02" + contracts.substr(1), "the contracts blob is corrupt: unknown format 2 at byte 1"},
      {"trailing byte", contracts + '\0',
       "the contracts blob is corrupt: trailing bytes at byte " + std::to_string(contracts.size())},
      // One expiration (day 0), one contract whose expiration index is 1.
      {"expiry index", std::string("\x01\x01\x00\x01\x04\x00\x00\x00\x00", 9),
       "the contracts blob is corrupt: an expiration index out of range at byte 5"},
      // The first contract says its strike is the one before.
      {"repeated first strike", std::string("\x01\x01\x00\x01\x01\x00\x00\x00", 8),
       "the contracts blob is corrupt: a repeated strike with none before it at byte 5"},
      {"day out of range", std::string("\x01\x01\xfe\xff\xff\xff\x0f\x00", 8),
       "the contracts blob is corrupt: an expiration out of range at byte 7"},
      {"huge count", std::string("\x01\x00\xff\xff\xff\xff\x0f", 7),
       "the contracts blob is corrupt: a count larger than the bytes that follow at byte 7"},
  };
  for (const Case& c : cases) {
    std::vector<engine::OptionContract> out(3);
    EXPECT_FALSE(UnpackContracts(c.blob, &out, &error)) << c.name;
    EXPECT_EQ(error, c.error) << c.name;
    EXPECT_EQ(out.size(), 3u) << c.name << ": the output is left alone";
  }
}

TEST(CaptureBlob, DigestTellsEveryChangeOfTheChainApart) {
  const engine::OptionChain chain = engine::SyntheticChain(200, 100);
  const std::string base = ChainDigest(chain.asOfText, chain.contracts);
  EXPECT_EQ(base.size(), 16u);
  EXPECT_EQ(ChainDigest(chain.asOfText, chain.contracts), base);
  struct Case {
    const char* name;
    void (*change)(std::string* asOf, std::vector<engine::OptionContract>* c);
  };
  const Case cases[] = {
      {"as-of", [](std::string* a, std::vector<engine::OptionContract>*) { *a += "1"; }},
      {"expiration",
       [](std::string*, std::vector<engine::OptionContract>* c) { (*c)[3].expiration = "2030-01-01"; }},
      {"strike", [](std::string*, std::vector<engine::OptionContract>* c) { (*c)[3].strike += 0.5; }},
      {"kind",
       [](std::string*, std::vector<engine::OptionContract>* c) {
         (*c)[3].kind =
             (*c)[3].kind == engine::OptionKind::kPut ? engine::OptionKind::kCall : engine::OptionKind::kPut;
       }},
      {"open interest",
       [](std::string*, std::vector<engine::OptionContract>* c) { (*c)[3].openInterest += 1; }},
      {"volatility",
       [](std::string*, std::vector<engine::OptionContract>* c) { (*c)[3].impliedVol *= 1.0000001; }},
      {"volume", [](std::string*, std::vector<engine::OptionContract>* c) { (*c)[3].volume += 1; }},
      {"order", [](std::string*, std::vector<engine::OptionContract>* c) { std::swap((*c)[3], (*c)[4]); }},
      {"one fewer", [](std::string*, std::vector<engine::OptionContract>* c) { c->pop_back(); }},
  };
  for (const Case& c : cases) {
    std::string asOf = chain.asOfText;
    std::vector<engine::OptionContract> contracts = chain.contracts;
    c.change(&asOf, &contracts);
    EXPECT_NE(ChainDigest(asOf, contracts), base) << c.name;
  }
}

}  // namespace
}  // namespace store
