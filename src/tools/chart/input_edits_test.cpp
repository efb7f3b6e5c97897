#include "chart/input_edits.h"

#include <gtest/gtest.h>

#include "chart/dialog_limits.h"
#include "json/json_document.h"
#include "text/format.h"

namespace chart {
namespace {

InputStore SampleInputs() {
  InputStore inputs;
  inputs.Declare(0, {"API base URL", host::InputKind::kText, 0, "https://a", {}, {}, ""});
  inputs.Declare(1, {"Show info panel", host::InputKind::kYesNo, 1, "", {}, {}, ""});
  inputs.Declare(2, {"Panel font size", host::InputKind::kInteger, 9, "", 6, 24, ""});
  inputs.Declare(3, {"Panel line spacing", host::InputKind::kFloat, 2.4, "", {}, {}, ""});
  inputs.Declare(4, {"Panel anchor", host::InputKind::kChoice, 0, "", {}, {}, "Top left;Top right;2"});
  inputs.Declare(5, {"Cooldown", host::InputKind::kInteger, 300, "", 30, {}, ""});
  inputs.Declare(6, {"Opacity", host::InputKind::kFloat, 85, "", {}, 100, ""});
  inputs.Declare(7, {"Note", host::InputKind::kText, 0, "", {}, {}, ""});
  return inputs;
}

json::Document Parsed(std::string text) {
  json::Document value;
  EXPECT_EQ(value.ParseOwned(text), json::ParseResult::kParsed) << text;
  return value;
}

TEST(InputEdits, FromTextOrARefusalNamingTheInputAndWhatItTakes) {
  struct Case {
    const char* label;
    const char* text;
    double number;      // the stored number afterwards
    const char* error;  // "" when taken; null: refused, the wording pinned by another row
  };
  const Case cases[] = {
      {"Show info panel", "No", 0, ""},
      {"Show info panel", "TRUE", 1, ""},
      {"Show info panel", "1", 1, ""},
      {"Show info panel", "maybe", 1, "input \"Show info panel\" takes Yes or No, got 'maybe'"},
      {"Panel font size", "12", 12, ""},
      {"Panel font size", "12.5", 9, nullptr},
      {"Panel font size", "1.2e1", 12, ""},
      {"Panel font size", "", 9, "input \"Panel font size\" takes a whole number, got ''"},
      {"Panel font size", "3000000000", 9, nullptr},
      {"Panel line spacing", "3.5", 3.5, ""},
      {"Panel line spacing", "inf", 2.4, nullptr},
      {"Panel line spacing", "wide", 2.4, "input \"Panel line spacing\" takes a number, got 'wide'"},
      {"Panel anchor", "Top right", 1, ""},
      {"Panel anchor", "1", 1, ""},
      {"Panel anchor", "2", 2, ""},  // the choice text "2" is choice 2 as well
      {"Panel anchor", "3", 0, nullptr},
      {"Panel anchor", "top right", 0, nullptr},
      {"Panel anchor", "Middle", 0,
       "input \"Panel anchor\" has no choice \"Middle\" (it takes one of: Top left, Top right, 2, or an "
       "index from 0)"},
      {"Panel anchor", "5", 0,
       "input \"Panel anchor\" takes a choice index (0 to 2) or the exact choice text"},
      {"Nope", "1", 0, "the study declares no input \"Nope\""},
  };
  for (const Case& c : cases) {
    InputStore inputs = SampleInputs();
    std::string error;
    const bool taken = c.error && *c.error == '\0';
    EXPECT_EQ(SetInputFromText(inputs, c.label, c.text, DialogLimits(), &error), taken)
        << c.label << "=" << c.text;
    EXPECT_EQ(taken, error.empty()) << c.label << "=" << c.text << ": " << error;
    if (c.error) {
      EXPECT_EQ(error, c.error) << c.label << "=" << c.text;
    }
    EXPECT_EQ(inputs.ReadFloat(inputs.SlotOf(c.label)), c.number) << c.label << "=" << c.text;
  }
  InputStore inputs = SampleInputs();
  std::string error;
  EXPECT_FALSE(SetInputFromText(inputs, "Show info panel", std::string(5000, 'x'), DialogLimits(), &error));
  EXPECT_LT(error.size(), 200u) << "a refusal quotes a long value cut short";
}

TEST(InputEdits, FromJsonWithinTheDialogsLimitsOrAnyOfKind) {
  struct Case {
    const char* label;
    const char* json;
    const ValueLimits& limits;
    bool ok;
    double number;
  };
  const ValueLimits kDialog = DialogLimits();
  const ValueLimits kAny = kAnyOfKind;
  const Case cases[] = {
      {"Show info panel", "false", kDialog, true, 0},
      {"Show info panel", "0", kDialog, false, 1},
      {"Panel font size", "11", kDialog, true, 11},
      {"Panel font size", "11.5", kDialog, false, 9},
      {"Panel font size", "11.5", kAny, false, 9},
      {"Panel font size", "\"11\"", kDialog, false, 9},
      {"Panel font size", "100", kDialog, false, 9},
      {"Panel font size", "100", kAny, true, 100},
      {"Panel line spacing", "0.1", kDialog, true, 0.1},
      {"Panel line spacing", "null", kDialog, false, 2.4},
      {"Panel anchor", "\"Top right\"", kDialog, true, 1},
      {"Panel anchor", "\"1\"", kDialog, false, 0},  // a string is a choice text
      {"Panel anchor", "2", kDialog, true, 2},
      {"Panel anchor", "7", kDialog, false, 0},
      {"Panel anchor", "7", kAny, true, 7},
      {"Panel anchor", "-1", kAny, false, 0},
      {"API base URL", "1", kAny, false, 0},
  };
  for (const Case& c : cases) {
    InputStore inputs = SampleInputs();
    const json::Document value = Parsed(c.json);
    std::string error;
    EXPECT_EQ(SetInputFromJson(inputs, c.label, value.Root(), c.limits, &error), c.ok)
        << c.label << "=" << c.json;
    EXPECT_EQ(c.ok, error.empty()) << c.label << "=" << c.json << ": " << error;
    EXPECT_EQ(inputs.ReadFloat(inputs.SlotOf(c.label)), c.number) << c.label << "=" << c.json;
  }
}

// A value outside the declared range, or a service URL the host cannot send to, was stored from
// --set and the chart file, while the page refused it. Both ways in now say the same; only a
// scripted session (any of kind) stores it.
TEST(InputEdits, RegressionTypedAndSavedValuesMeetTheSameLimits) {
  struct Case {
    const char* label;
    const char* text;   // typed, and as JSON: a number, else a string
    const char* error;  // "" when taken
  };
  const Case cases[] = {
      {"Panel font size", "6", ""},
      {"Panel font size", "24", ""},
      {"Panel font size", "100", "input \"Panel font size\" takes 6 to 24, got '100'"},
      {"Panel font size", "5", "input \"Panel font size\" takes 6 to 24, got '5'"},
      {"Cooldown", "5", "input \"Cooldown\" takes 30 or more, got '5'"},
      {"Cooldown", "2000000000", ""},
      {"Opacity", "100.5", "input \"Opacity\" takes 100 or less, got '100.5'"},
      {"Opacity", "-3", ""},
      {"API base URL", "http://127.0.0.1:9/", ""},
      {"API base URL", " https://levels.example/v1 ", ""},
      {"API base URL", "", ""},  // the study's own service
      {"API base URL", "ftp://x",
       "input \"API base URL\" takes a service URL (blank: the study's own), got 'ftp://x': it does not "
       "start with http:// or https://"},
      {"API base URL", "http://a:0",
       "input \"API base URL\" takes a service URL (blank: the study's own), got 'http://a:0': its port is "
       "not a number from 1 to 65535"},
      {"Note", "ftp://x", ""},  // only the service's input is a URL
  };
  for (const Case& c : cases) {
    const bool taken = *c.error == '\0';
    const bool number = std::string(c.label) != "API base URL" && std::string(c.label) != "Note";
    const json::Document json = Parsed(number ? c.text : "\"" + std::string(c.text) + "\"");
    for (const int way : {0, 1}) {
      InputStore inputs = SampleInputs();
      std::string error;
      const bool done = way == 0 ? SetInputFromText(inputs, c.label, c.text, DialogLimits(), &error)
                                 : SetInputFromJson(inputs, c.label, json.Root(), DialogLimits(), &error);
      EXPECT_EQ(done, taken) << c.label << "=" << c.text << " way " << way;
      EXPECT_EQ(error, c.error) << c.label << "=" << c.text << " way " << way;
    }
    InputStore inputs = SampleInputs();
    std::string error;
    EXPECT_TRUE(SetInputFromJson(inputs, c.label, json.Root(), kAnyOfKind, &error))
        << c.label << "=" << c.text << ": " << error;
    const int slot = inputs.SlotOf(c.label);
    if (number) {
      double typed = 0;
      text::ParseDouble(c.text, &typed);
      EXPECT_EQ(inputs.ReadFloat(slot), typed) << c.label;
    } else {
      EXPECT_EQ(inputs.ReadText(slot), c.text) << c.label;
    }
  }
}

TEST(InputEdits, WhatEachInputTakes) {
  const InputStore inputs = SampleInputs();
  std::string takes;
  for (const auto& [slot, entry] : inputs.Entries())
    takes += std::to_string(slot) + ":" + InputTakes(entry.declaration, DialogLimits()) + "|";
  EXPECT_EQ(takes,
            "0:a service URL (blank: the study's own)|1:Yes or No|2:6 to 24|3:any number|"
            "4:Top left; Top right; 2|5:30 or more|6:100 or less|7:any text|");
  EXPECT_EQ(InputTakes({"Count", host::InputKind::kInteger, 0, "", {}, {}, ""}, DialogLimits()),
            "any whole number");
  EXPECT_EQ(InputTakes({"Spacing", host::InputKind::kFloat, 0, "", 0.5, 12, ""}, DialogLimits()),
            "0.5 to 12");
  EXPECT_EQ(InputTakes({"Spacing", host::InputKind::kFloat, 0, "", 0.5, 12, ""}, kAnyOfKind), "any number");
  EXPECT_EQ(InputTakes({"API base URL", host::InputKind::kText, 0, "", {}, {}, ""}, kAnyOfKind), "any text");
}

}  // namespace
}  // namespace chart
