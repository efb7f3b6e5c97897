#include "chart/input_edits.h"

#include <gtest/gtest.h>

#include "json/json_document.h"

namespace chart {
namespace {

InputStore SampleInputs() {
  InputStore inputs;
  inputs.Declare(0, {"API base URL", host::InputKind::kText, 0, "https://a", {}, {}, ""});
  inputs.Declare(1, {"Show info panel", host::InputKind::kYesNo, 1, "", {}, {}, ""});
  inputs.Declare(2, {"Panel font size", host::InputKind::kInteger, 9, "", 6, 24, ""});
  inputs.Declare(3, {"Panel line spacing", host::InputKind::kFloat, 2.4, "", {}, {}, ""});
  inputs.Declare(4, {"Panel anchor", host::InputKind::kChoice, 0, "", {}, {}, "Top left;Top right;2"});
  return inputs;
}

TEST(InputEdits, FromText) {
  struct Case {
    const char* label;
    const char* text;
    bool ok;
    double number;
  };
  const Case cases[] = {
      {"Show info panel", "No", true, 0},     {"Show info panel", "TRUE", true, 1},
      {"Show info panel", "1", true, 1},      {"Show info panel", "maybe", false, 1},
      {"Panel font size", "12", true, 12},    {"Panel font size", "12.5", false, 9},
      {"Panel font size", "1e3", true, 1000}, {"Panel font size", "", false, 9},
      {"Panel font size", "3000000000", false, 9},
      {"Panel line spacing", "3.5", true, 3.5}, {"Panel line spacing", "inf", false, 2.4},
      {"Panel anchor", "Top right", true, 1}, {"Panel anchor", "1", true, 1},
      {"Panel anchor", "2", true, 2},  // the choice text "2" is choice 2 as well
      {"Panel anchor", "3", false, 0},        {"Panel anchor", "top right", false, 0},
  };
  for (const Case& c : cases) {
    InputStore inputs = SampleInputs();
    std::string error;
    EXPECT_EQ(SetInputFromText(inputs, c.label, c.text, &error), c.ok) << c.label << "=" << c.text;
    EXPECT_EQ(c.ok, error.empty()) << c.label << "=" << c.text << ": " << error;
    EXPECT_EQ(inputs.ReadFloat(inputs.SlotOf(c.label)), c.number) << c.label << "=" << c.text;
  }
  InputStore inputs = SampleInputs();
  std::string error;
  EXPECT_TRUE(SetInputFromText(inputs, "API base URL", "http://127.0.0.1:9", &error));
  EXPECT_EQ(inputs.ReadText(0), "http://127.0.0.1:9");
}

TEST(InputEdits, FromJsonWithChoiceIndexesListedOrAny) {
  struct Case {
    const char* label;
    const char* json;
    ChoiceIndexes indexes;
    bool ok;
    double number;
  };
  const Case cases[] = {
      {"Show info panel", "false", ChoiceIndexes::kListed, true, 0},
      {"Show info panel", "0", ChoiceIndexes::kListed, false, 1},
      {"Panel font size", "11", ChoiceIndexes::kListed, true, 11},
      {"Panel font size", "11.5", ChoiceIndexes::kListed, false, 9},
      {"Panel font size", "\"11\"", ChoiceIndexes::kListed, false, 9},
      {"Panel line spacing", "0.1", ChoiceIndexes::kListed, true, 0.1},
      {"Panel line spacing", "null", ChoiceIndexes::kListed, false, 2.4},
      {"Panel anchor", "\"Top right\"", ChoiceIndexes::kListed, true, 1},
      {"Panel anchor", "\"1\"", ChoiceIndexes::kListed, false, 0},  // a string is a choice text
      {"Panel anchor", "2", ChoiceIndexes::kListed, true, 2},
      {"Panel anchor", "7", ChoiceIndexes::kListed, false, 0},
      {"Panel anchor", "7", ChoiceIndexes::kAny, true, 7},
      {"Panel anchor", "-1", ChoiceIndexes::kAny, false, 0},
      {"API base URL", "1", ChoiceIndexes::kAny, false, 0},
  };
  for (const Case& c : cases) {
    InputStore inputs = SampleInputs();
    json::Document value;
    ASSERT_EQ(value.Parse(c.json), json::ParseResult::kParsed) << c.json;
    std::string error;
    EXPECT_EQ(SetInputFromJson(inputs, c.label, value.Root(), c.indexes, &error), c.ok) << c.label << "=" << c.json;
    EXPECT_EQ(c.ok, error.empty()) << c.label << "=" << c.json << ": " << error;
    EXPECT_EQ(inputs.ReadFloat(inputs.SlotOf(c.label)), c.number) << c.label << "=" << c.json;
  }
}

TEST(InputEdits, RefusalsNameTheInputAndWhatItTakes) {
  struct Case {
    const char* label;
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"Nope", "1", "the study declares no input \"Nope\""},
      {"Show info panel", "maybe", "input \"Show info panel\" takes Yes or No, got 'maybe'"},
      {"Panel anchor", "Middle",
       "input \"Panel anchor\" has no choice \"Middle\" (it takes one of: Top left, Top right, 2, or an index from 0)"},
      {"Panel anchor", "5", "input \"Panel anchor\" takes a choice index (0 to 2) or the exact choice text"},
  };
  for (const Case& c : cases) {
    InputStore inputs = SampleInputs();
    std::string error;
    EXPECT_FALSE(SetInputFromText(inputs, c.label, c.text, &error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
  }
}

}  // namespace
}  // namespace chart
