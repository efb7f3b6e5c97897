#include "study/settings_signature.h"

#include <gtest/gtest.h>

#include <set>

namespace study {
namespace {

// Regression: the two texts were mixed back to back, so "12" + "3" and "1" + "23" collided.
TEST(SettingsSignature, MovingCharactersBetweenTheTextsChangesIt) {
  const struct {
    const char* strike;
    const char* day;
  } cases[] = {{"12", "3"}, {"1", "23"}, {"123", ""}, {"", "123"}};
  InputValues values;
  std::set<uint32_t> signatures;
  for (const auto& c : cases) {
    values.texts[kInspectorStrike] = c.strike;
    values.texts[kResearchDay] = c.day;
    EXPECT_TRUE(signatures.insert(SettingsSignature(values)).second) << c.strike << "|" << c.day;
  }
}

TEST(SettingsSignature, HugeFloatsClampInsteadOfOverflowing) {
  EXPECT_EQ(ScaledFloatItem(1e12), static_cast<uint32_t>(INT32_MAX));
  EXPECT_EQ(ScaledFloatItem(-1e12), static_cast<uint32_t>(INT32_MIN));
}

}  // namespace
}  // namespace study
