#include "web/page_changes.h"

#include <gtest/gtest.h>

namespace web {
namespace {

chart::InputStore Inputs() {
  chart::InputStore inputs;
  inputs.Declare(0, {"Draw Max Pain", host::InputKind::kYesNo, 0, "", {}, {}, ""});
  inputs.Declare(1, {"Refresh interval (seconds)", host::InputKind::kInteger, 180, "", 180, 3600, ""});
  inputs.Declare(2, {"Panel line spacing", host::InputKind::kFloat, 2.4, "", 0.5, 12, ""});
  inputs.Declare(5, {"Cooldown (min 30)", host::InputKind::kInteger, 300, "", {}, {}, ""});
  inputs.Declare(6, {"API base URL", host::InputKind::kText, 0, "https://a", {}, {}, ""});
  return inputs;
}

TEST(PageChanges, InputsTakeWhatTheDialogAllows) {
  struct Case {
    const char* label;
    const char* value;  // null: no value field
    int status;
    int slot;
    double number;  // the stored number after the change (unchanged on a refusal)
    const char* reply;
  };
  const Case cases[] = {
      {"Draw Max Pain", "Yes", 200, 0, 1, "applied"},
      {"Refresh interval (seconds)", "600", 200, 1, 600, "applied"},
      {"Refresh interval (seconds)", "60", 400, 1, 180,
       "input \"Refresh interval (seconds)\" takes 180 to 3600, got '60'"},
      {"Panel line spacing", "12.5", 400, 2, 2.4, "input \"Panel line spacing\" takes 0.5 to 12, got '12.5'"},
      {"Cooldown (min 30)", "5", 200, 5, 5, "applied"},  // no declared range
      {"No such input", "1", 400, 0, 0, "the study declares no input \"No such input\""},
      {"Draw Max Pain", nullptr, 400, 0, 0, "a settings change needs label and value"},
      {"Refresh interval (seconds)", "600.5", 400, 1, 180,
       "input \"Refresh interval (seconds)\" takes a whole number, got '600.5'"},
  };
  for (const Case& c : cases) {
    chart::InputStore inputs = Inputs();
    FormFields fields = {{"label", c.label}};
    if (c.value) fields.push_back({"value", c.value});
    const Reply reply = ApplyInputChange(inputs, fields);
    EXPECT_EQ(reply.status, c.status) << c.label;
    EXPECT_EQ(reply.text, c.reply) << c.label;
    EXPECT_EQ(inputs.Find(c.slot)->value.number, c.number) << c.label;
  }
}

// The page answered "applied" to a levels service URL that --set and --origin refuse.
TEST(PageChanges, RegressionTheServiceUrlTakesWhatTheCommandLineTakes) {
  struct Case {
    const char* value;
    int status;
    const char* stored;  // the text afterwards
  };
  const Case cases[] = {
      {"http://127.0.0.1:9", 200, "http://127.0.0.1:9"},
      {"", 200, ""},  // the study's own service
      {"ftp://x", 400, "https://a"},
      {"file:///etc/passwd", 400, "https://a"},
      {"https://user@levels.example", 400, "https://a"},
  };
  for (const Case& c : cases) {
    chart::InputStore inputs = Inputs();
    const Reply reply = ApplyInputChange(inputs, {{"label", "API base URL"}, {"value", c.value}});
    EXPECT_EQ(reply.status, c.status) << c.value << ": " << reply.text;
    EXPECT_EQ(inputs.ReadText(6), c.stored) << c.value;
    // The wording is chart::SetInputFromText's (input_edits_test); the page passes it on.
    if (c.status != 200) EXPECT_NE(reply.text.find("takes a service URL"), std::string::npos) << reply.text;
  }
}

TEST(PageChanges, PressesInsideThePicture) {
  struct Case {
    FormFields fields;
    int status;
    int x;
    int y;
  };
  const Case cases[] = {
      {{{"x", "0"}, {"y", "0"}}, 200, 0, 0},     {{{"x", "1279"}, {"y", "719"}}, 200, 1279, 719},
      {{{"x", "1280"}, {"y", "10"}}, 400, 0, 0}, {{{"x", "-1"}, {"y", "10"}}, 400, 0, 0},
      {{{"x", "10.5"}, {"y", "10"}}, 400, 0, 0}, {{{"x", "10"}}, 400, 0, 0},
      {{{"x", "ten"}, {"y", "10"}}, 400, 0, 0},
  };
  for (const Case& c : cases) {
    host::PointerEvent press;
    const Reply reply = ReadPress(c.fields, 1280, 720, &press);
    const std::string name =
        FormValue(c.fields, "x").value_or("") + "," + FormValue(c.fields, "y").value_or("");
    EXPECT_EQ(reply.status, c.status) << name;
    if (c.status != 200) continue;
    EXPECT_EQ(press.code, host::kPointerPress) << name;
    EXPECT_EQ(press.x, c.x) << name;
    EXPECT_EQ(press.y, c.y) << name;
  }
}

TEST(PageChanges, ChartSizesWithinTheBounds) {
  struct Case {
    const char* width;
    const char* height;
    int status;
  };
  const Case cases[] = {
      {"1920", "1000", 200}, {"320", "200", 200},      {"7680", "4320", 200}, {"319", "600", 400},
      {"800", "199", 400},   {"7681", "600", 400},     {"800", "4321", 400},  {"100000", "100000", 400},
      {"800.5", "600", 400}, {"800", "", 400},         {"-800", "600", 400},  {"1e3", "600", 200},
      {"nan", "600", 400},   {"800", "Infinity", 400},
  };
  for (const Case& c : cases) {
    int width = -1;
    int height = -1;
    const Reply reply = ReadChartSize({{"width", c.width}, {"height", c.height}}, &width, &height);
    const std::string name = std::string(c.width) + "x" + c.height;
    EXPECT_EQ(reply.status, c.status) << name;
    if (c.status == 200) {
      EXPECT_EQ(width, static_cast<int>(std::stod(c.width))) << name;
      EXPECT_EQ(height, std::stoi(c.height)) << name;
    } else {
      EXPECT_EQ(reply.text, "a chart size needs width and height as whole pixels from 320x200 to 7680x4320")
          << name;
      EXPECT_EQ(width, -1) << name;  // nothing read on a refusal
    }
  }
}

TEST(PageChanges, ColoursOfDeclaredSubgraphs) {
  struct Case {
    FormFields fields;
    int status;
    host::Rgb colour;  // subgraph 3 afterwards
  };
  const host::Rgb declared{1, 2, 3};
  const Case cases[] = {
      {{{"number", "3"}, {"colour", "#ff8000"}}, 200, {255, 128, 0}},
      {{{"number", "3"}, {"colour", "#FF8000"}}, 200, {255, 128, 0}},
      {{{"number", "3"}, {"colour", "ff8000"}}, 400, declared},
      {{{"number", "3"}, {"colour", "#gg8000"}}, 400, declared},
      {{{"number", "4"}, {"colour", "#ff8000"}}, 400, declared},
      {{{"number", "44"}, {"colour", "#ff8000"}}, 400, declared},
      {{{"colour", "#ff8000"}}, 400, declared},
  };
  for (const Case& c : cases) {
    chart::SubgraphStore subgraphs;
    subgraphs.Declare(3, {"Call Wall", 0, declared, 1});
    const std::string name =
        FormValue(c.fields, "number").value_or("-") + " " + FormValue(c.fields, "colour").value_or("-");
    EXPECT_EQ(ApplyColourChange(subgraphs, c.fields).status, c.status) << name;
    EXPECT_EQ(subgraphs.Colour(3), c.colour) << name;
  }
}

// A view moves the visible bars; a drag on the price axis sends its prices with it, a double click
// sends fit=1. A refused view changes neither.
TEST(PageChanges, ViewsMoveTheBarsAndCarryThePriceScale) {
  struct Case {
    FormFields fields;
    int status;
    bool userScale;  // the chart keeps a user's scale afterwards (it starts with 10..20)
    double low;
  };
  const Case cases[] = {
      {{{"first", "50"}, {"last", "149"}}, 200, true, 10},
      {{{"first", "50"}, {"last", "149"}, {"low", "21400.5"}, {"high", "21600"}}, 200, true, 21400.5},
      {{{"first", "50"}, {"last", "149"}, {"fit", "1"}}, 200, false, 0},
      {{{"first", "50"}, {"last", "149"}, {"low", "21400"}}, 400, true, 10},
      {{{"first", "50"}, {"last", "149"}, {"low", "5"}, {"high", "5"}}, 400, true, 10},
      {{{"first", "50"}, {"last", "149"}, {"low", "nan"}, {"high", "5"}}, 400, true, 10},
      {{{"first", "50"}, {"last", "149"}, {"low", "1"}, {"high", "1e999"}}, 400, true, 10},
      {{{"first", "50"}, {"last", "149"}, {"low", "1"}, {"high", "2x"}}, 400, true, 10},
      {{{"first", "50"}, {"last", "149"}, {"fit", "1"}, {"low", "1"}, {"high", "2"}}, 400, true, 10},
      {{{"first", "50"}, {"last", "149"}, {"fit", "yes"}}, 400, true, 10},
      {{{"first", "150"}, {"last", "100"}, {"fit", "1"}}, 400, true, 10},
      {{{"first", "150"}, {"last", "100"}}, 400, true, 10},
      {{{"last", "10"}}, 400, true, 10},
  };
  for (const Case& c : cases) {
    chart::ChartData chart = chart::DefaultChart();  // bars 100-199 of 200 shown
    chart.priceScale = chart::PriceRange{10, 20};
    std::string name;
    for (const auto& [key, value] : c.fields) name += key + "=" + value + " ";
    EXPECT_EQ(ApplyViewChange(chart, c.fields).status, c.status) << name;
    EXPECT_EQ(chart.priceScale.has_value(), c.userScale) << name;
    if (chart.priceScale) {
      EXPECT_EQ(chart.priceScale->low, c.low) << name;
    }
    EXPECT_EQ(chart.visible.first, c.status == 200 ? 50 : 100) << name;
    EXPECT_EQ(chart.visible.last, c.status == 200 ? 149 : 199) << name;
  }
}

}  // namespace
}  // namespace web
