// Every text a levels answer carries onto the panel or into a label is kept to a bounded size,
// so a hostile answer cannot make wrapping or drawing it cost more than a fixed amount.
#include <gtest/gtest.h>

#include "payload/payload_test_support.h"
#include "text/bounded_text.h"

namespace payload {
namespace {

TEST(ServiceTexts, LongTextsAreCutBeforeTheyAreKept) {
  const std::string huge(400000, 'Q');
  const std::string kept = text::BoundedText(huge);
  ASSERT_EQ(kept.size(), text::kMaxKeptTextBytes);
  const LevelsSnapshot s = testing::ParseAnswer(testing::Answer(
      R"({"call_wall": 21600, "points_of_interest": {"focus_1": {"value": 21500, "label": ")" + huge +
          R"("}}})",
      R"("resolved_symbol": ")" + huge + R"(", "conversion_note": ")" + huge +
          R"(", "mapping_note": "free )" + huge + R"(", "locked_session": ")" + huge + R"(")"));
  EXPECT_EQ(s.resolvedSymbol, kept);
  EXPECT_EQ(s.conversionNote, kept);
  EXPECT_EQ(s.mappingNote.size(), text::kMaxKeptTextBytes) << "cleaned, then bounded";
  EXPECT_EQ(s.lockedSession, kept);
  EXPECT_EQ(s.focus[0].label, kept);

  LevelsSnapshot refused;
  std::string status;
  EXPECT_FALSE(ParseLevelsResponse(testing::Json(R"({"ok": false, "message": ")" + huge + R"("})"), 10,
                                   &refused, &status));
  EXPECT_EQ(status.size(), text::kMaxKeptTextBytes) << "the error line is a kept text too";
}

}  // namespace
}  // namespace payload
