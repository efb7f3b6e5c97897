#include "chart/input_store.h"

#include <gtest/gtest.h>

namespace chart {
namespace {

using host::InputDeclaration;
using host::InputKind;

InputDeclaration Input(const char* label, InputKind kind, double def = 0) {
  InputDeclaration input;
  input.label = label;
  input.kind = kind;
  input.defaultNumber = def;
  return input;
}

class InputStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InputDeclaration url = Input("API base URL", InputKind::kText);
    url.defaultText = "https://levels.example";
    store.Declare(0, url);
    InputDeclaration symbol = Input("Requested symbol", InputKind::kChoice);
    symbol.choices = "AUTO;NQ;ES";
    store.Declare(1, symbol);
    InputDeclaration refresh = Input("Refresh interval (seconds)", InputKind::kInteger, 180);
    refresh.min = 180;
    refresh.max = 3600;
    store.Declare(3, refresh);
    store.Declare(4, Input("Request extended levels (extended=1)", InputKind::kYesNo, 1));
    InputDeclaration spacing = Input("Panel line spacing", InputKind::kFloat, 2.4);
    spacing.min = 0.5;
    spacing.max = 12;
    store.Declare(61, spacing);
  }
  InputStore store;
};

TEST_F(InputStoreTest, ReadsByKind) {
  struct Case {
    int slot;
    int asInt;
    double asFloat;
    const char* asText;
  };
  const Case cases[] = {
      {0, 0, 0, "https://levels.example"},  // text
      {1, 0, 0, "Unset"},                   // choice
      {3, 180, 180, "Unset"},               // integer
      {4, 1, 1, "Unset"},                   // yes/no
      {61, 2, 2.4, "Unset"},                // float, truncated as int
      {2, 0, 0, "Unset"},                   // never declared
  };
  for (const Case& c : cases) {
    EXPECT_EQ(store.ReadInt(c.slot), c.asInt) << "slot " << c.slot;
    EXPECT_DOUBLE_EQ(store.ReadFloat(c.slot), c.asFloat) << "slot " << c.slot;
    EXPECT_EQ(store.ReadText(c.slot), c.asText) << "slot " << c.slot;
  }
}

TEST_F(InputStoreTest, UserEditsAreStoredAsGivenWithIntegersTruncated) {
  struct Case {
    int slot;
    double edit;
    double expected;
  };
  // The range is the dialog's to enforce; a choice beyond its list reads as that index.
  const Case cases[] = {{3, 60, 60}, {3, 600.9, 600}, {3, 99999, 99999}, {61, 0.1, 0.1}, {1, 9, 9}};
  for (const Case& c : cases) {
    EXPECT_TRUE(store.EditNumber(c.slot, c.edit)) << c.slot << " " << c.edit;
    EXPECT_DOUBLE_EQ(store.ReadFloat(c.slot), c.expected) << c.slot << " " << c.edit;
  }
  EXPECT_TRUE(store.StoreInt(1, 17));
  EXPECT_EQ(store.ReadInt(1), 17);
}

TEST_F(InputStoreTest, WritesOfTheWrongKindAreRefused) {
  EXPECT_FALSE(store.StoreInt(0, 5)) << "int into text";
  EXPECT_FALSE(store.StoreText(3, "600")) << "text into integer";
  EXPECT_FALSE(store.StoreInt(2, 1)) << "undeclared slot";
  EXPECT_FALSE(store.EditYesNo(3, true)) << "yes/no edit of an integer";
  EXPECT_FALSE(store.EditNumber(4, 1)) << "number edit of a yes/no";
  EXPECT_EQ(store.ReadText(0), "https://levels.example");
  EXPECT_EQ(store.ReadInt(3), 180);
}

TEST_F(InputStoreTest, ValuesPersistWhenDeclaredAgainWithTheSameKind) {
  store.StoreText(0, "t1c0");
  store.StoreInt(3, 900);
  store.Declare(0, Input("API base URL", InputKind::kText));
  store.Declare(3, Input("Refresh interval (seconds)", InputKind::kInteger, 180));
  EXPECT_EQ(store.ReadText(0), "t1c0");
  EXPECT_EQ(store.ReadInt(3), 900);
  store.Declare(3, Input("Refresh interval (seconds)", InputKind::kText));
  EXPECT_EQ(store.ReadText(3), "") << "a slot whose kind changed starts from its default";
}

// A copy is a store of its own, for slots read through the fast index and beyond it alike.
TEST_F(InputStoreTest, ACopyNeverSharesItsEntries) {
  store.Declare(5000, Input("Far slot", InputKind::kInteger, 7));
  InputStore copy;
  copy = store;
  const InputStore constructed(store);
  ASSERT_TRUE(store.EditNumber(3, 600));
  ASSERT_TRUE(store.EditNumber(5000, 8));
  for (const InputStore* other : {static_cast<const InputStore*>(&copy), &constructed}) {
    EXPECT_EQ(other->ReadInt(3), 180);
    EXPECT_EQ(other->ReadInt(5000), 7);
  }
  EXPECT_EQ(store.ReadInt(3), 600);
}

TEST(InputChoices, SplitOnSemicolonsKeepingEmptyEntries) {
  InputDeclaration input = Input("c", InputKind::kChoice);
  input.choices = "Off;1 per side;;3 per side";
  EXPECT_EQ(ChoiceTexts(input), (std::vector<std::string>{"Off", "1 per side", "", "3 per side"}));
  input.kind = InputKind::kText;
  EXPECT_TRUE(ChoiceTexts(input).empty());
}

TEST_F(InputStoreTest, SlotOfFindsTheExactLabel) {
  EXPECT_EQ(store.SlotOf("Requested symbol"), 1);
  EXPECT_EQ(store.SlotOf("requested symbol"), -1);
}

}  // namespace
}  // namespace chart
