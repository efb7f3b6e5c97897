#include "payload/answer_translation.h"

#include <gtest/gtest.h>

#include "payload/payload_test_support.h"

namespace payload {
namespace {

using testing::Answer;
using testing::Json;

constexpr const char* kBlock =
    R"({"call_wall": 21600, "gamma_flip": 21450, "vol_trigger": 21400, "max_pain": 21500,
        "zero_gamma": {"available": true, "price": 21480}})";
constexpr const char* kServedToday =
    R"("expiry_selection": {"mode": "0dte", "selected_expirations": ["2025-01-17"],
        "coverage": {"served": 1, "record_expirations": 9}, "captured_at": 5, "quotes_at": 6},
       "selected_expirations": ["2025-01-17"])";
constexpr const char* kNote =
    "Core 0dte: 2025-01-17 | captured delayed OI | coverage 1/9 (bounded book) | captured ms 5 / "
    "quotes ms 6 | gamma flip / max pain unavailable | no front-book extended complement";

TEST(TranslateLevelsAnswer, ChecksTheRequestThenShapesTheSnapshot) {
  const calendar::ExpirySelection legacy = calendar::BuildExpirySelection(0, "", "", "2025-01-17");
  const calendar::ExpirySelection zeroDte = calendar::BuildExpirySelection(3, "", "", "2025-01-17");
  const std::string spx = Answer(kBlock, R"("resolved_symbol": "SPX")");
  const std::string nq = Answer(kBlock, R"("resolved_symbol": "NQ")");
  const std::string today = Answer(kBlock, kServedToday);
  struct Case {
    const char* name;
    std::string answer;
    const calendar::ExpirySelection* selection;
    bool spx;
    bool modelFlip;
    std::string failure;  // empty: accepted
    double flip;          // 0: absent
    std::string note;
  };
  const Case cases[] = {
      {"legacy", nq, &legacy, false, false, "", 21450, ""},
      {"model zero gamma as flip", nq, &legacy, false, true, "", 21480, ""},
      {"SPX map asked, SPX served", spx, &legacy, true, false, "", 21450, ""},
      {"SPX map asked, NQ served", nq, &legacy, true, false,
       "SPX source unavailable: no SPX-derived ES map returned.", 0, ""},
      {"selection not served; its message wins", nq, &zeroDte, true, false,
       "Selected expirations unavailable: response selection did not match.", 0, ""},
      {"selection-bound book drops the flip even for the model", today, &zeroDte, false, true, "", 0, kNote},
      {"envelope refused", R"({"ok": false, "error": "stale"})", &legacy, false, false,
       "Levels unavailable (error: stale).", 0, ""},
  };
  for (const Case& c : cases) {
    AnswerExpectations expect;
    expect.spxSourceRequired = c.spx;
    expect.selection = c.selection;
    expect.modelZeroGammaAsFlip = c.modelFlip;
    LevelsAnswer answer;
    std::string failure;
    const bool accepted = TranslateLevelsAnswer(Json(c.answer), expect, &answer, &failure);
    EXPECT_EQ(accepted, c.failure.empty()) << c.name;
    EXPECT_EQ(failure, c.failure) << c.name;
    if (!accepted) continue;
    const LevelsSnapshot& s = answer.snapshot;
    EXPECT_EQ(s.gammaFlip.has ? s.gammaFlip.value : 0, c.flip) << c.name;
    EXPECT_EQ(s.expirationNote, c.note) << c.name;
    EXPECT_EQ(s.callWall.value, 21600) << c.name;
    const bool legacyMode = c.selection == &legacy;
    EXPECT_EQ(s.volTrigger.has && s.maxPain.has && s.zeroGammaModel.has, legacyMode) << c.name;
    EXPECT_EQ(answer.live.resolved_symbol, s.resolvedSymbol) << c.name;
  }
}

}  // namespace
}  // namespace payload
