#include "cli/chart_inputs.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "formats/file_io.h"
#include "chart/input_edits.h"

namespace cli {
namespace {

// The whole file; empty when it cannot be read.
std::string Slurp(const std::string& path) {
  std::string bytes;
  std::string error;
  formats::ReadFileWithin(path, size_t{16} << 20, &bytes, &error);
  return bytes;
}

chart::InputStore SampleInputs() {
  chart::InputStore inputs;
  inputs.Declare(0, {"Research day", host::InputKind::kText, 0, "", {}, {}, ""});
  inputs.Declare(1, {"Show info panel", host::InputKind::kYesNo, 1, "", {}, {}, ""});
  inputs.Declare(2, {"Panel font size", host::InputKind::kInteger, 9, "", 6, 24, ""});
  inputs.Declare(3, {"Panel line spacing (% of chart height)", host::InputKind::kFloat, 2.4, "", {}, {}, ""});
  inputs.Declare(4,
                 {"Panel anchor", host::InputKind::kChoice, 0, "", {}, {}, "Top left;Top right;Bottom left"});
  inputs.Declare(5, {"Request extended levels (extended=1)", host::InputKind::kYesNo, 0, "", {}, {}, ""});
  inputs.Declare(6, {"Request extended levels", host::InputKind::kYesNo, 0, "", {}, {}, ""});
  return inputs;
}

// A label may hold '=' (the last one splits). A label that names no input said only that; now it
// names the nearest labels, or where to find them all. A value the settings dialog refuses was taken.
TEST(ChartInputs, RegressionSettingsSayWhatWasMeantAndMeetTheDialogsLimits) {
  struct Case {
    const char* setting;
    int yes;            // the one of slots 4-6 that became Yes; -1 for none
    const char* error;  // "" when taken; null: refused, the message pinned by another row
  };
  const Case cases[] = {
      {"Request extended levels (extended=1)=Yes", 5, ""},
      {"Request extended levels=Yes", 6, ""},
      {"Request extended levels (extended=1)=perhaps", -1, nullptr},
      {"Panel font siez=7", -1,
       "--set 'Panel font siez=7': the study declares no input \"Panel font siez\" (the nearest: "
       "\"Panel font size\")"},
      {"panel=7", -1,
       "--set 'panel=7': the study declares no input \"panel\" (the nearest: \"Panel font size\", \"Panel "
       "line spacing (% of chart height)\", \"Panel anchor\")"},
      {"Colour=red", -1,
       "--set 'Colour=red': the study declares no input \"Colour\" (ordinel chart --list-inputs lists "
       "them)"},
      {"Panel font size=99", -1, "--set: input \"Panel font size\" takes 6 to 24, got '99'"},
      {"Panel font size=7", -1, ""},
  };
  for (const Case& c : cases) {
    chart::InputStore inputs = SampleInputs();
    std::string error;
    EXPECT_EQ(ApplySetting(inputs, c.setting, &error), c.error && *c.error == '\0') << c.setting;
    if (c.error) {
      EXPECT_EQ(error, c.error) << c.setting;
    }
    for (const int slot : {4, 5, 6})
      EXPECT_EQ(inputs.ReadInt(slot) != 0, slot == c.yes) << c.setting << " slot " << slot;
  }
}

TEST(ChartInputs, ChartFileRoundTrip) {
  const std::string path = ::testing::TempDir() + "/chart_inputs_test.json";
  std::remove(path.c_str());
  chart::InputStore saved = SampleInputs();
  std::string error;
  ASSERT_TRUE(chart::SetInputFromText(saved, "Research day", "say \"hi\"\n", chart::DialogLimits(), &error));
  ASSERT_TRUE(chart::SetInputFromText(saved, "Show info panel", "No", chart::DialogLimits(), &error));
  ASSERT_TRUE(chart::SetInputFromText(saved, "Panel anchor", "Bottom left", chart::DialogLimits(), &error));
  ASSERT_TRUE(chart::SetInputFromText(saved, "Panel line spacing (% of chart height)", "0.1",
                                      chart::DialogLimits(), &error));

  chart::InputStore loaded = SampleInputs();
  ChartFile file;
  file.existed = true;
  std::vector<std::string> skipped;
  ASSERT_TRUE(LoadChartFile(path, loaded, &file, &skipped, &error)) << error;
  EXPECT_FALSE(file.existed);  // a missing file is a new chart

  ASSERT_TRUE(SaveChartFile(path, file, saved, &error)) << error;
  ASSERT_TRUE(LoadChartFile(path, loaded, &file, &skipped, &error)) << error;
  EXPECT_TRUE(file.existed);
  EXPECT_TRUE(skipped.empty());
  EXPECT_EQ(ChartFileText(file, loaded), ChartFileText(file, saved));
  EXPECT_EQ(loaded.ReadText(0), "say \"hi\"\n");
  EXPECT_EQ(loaded.ReadFloat(3), 0.1);
  std::remove(path.c_str());
}

// Saving dropped the labels of inputs the study does not declare and every member besides
// "inputs".
TEST(ChartInputs, RegressionSaveKeepsWhatTheProgramDoesNotKnow) {
  const std::string path = ::testing::TempDir() + "/chart_inputs_unknown.json";
  std::ofstream(path, std::ios::binary) << "{\"note\": \"mine\", \"inputs\": {\"Old input\": [1, \"x\"], "
                                           "\"Panel font size\": 11, \"Old input\": 2},"
                                           " \"layout\": {\"w\": 1.5}}";
  chart::InputStore inputs = SampleInputs();
  ChartFile file;
  std::vector<std::string> skipped;
  std::string error;
  ASSERT_TRUE(LoadChartFile(path, inputs, &file, &skipped, &error)) << error;
  EXPECT_EQ(skipped, std::vector<std::string>{"Old input"});
  ASSERT_TRUE(chart::SetInputFromText(inputs, "Panel font size", "12", chart::DialogLimits(), &error));
  ASSERT_TRUE(SaveChartFile(path, file, inputs, &error)) << error;
  json::Document document;
  ASSERT_EQ(document.ParseOwned(Slurp(path)), json::ParseResult::kParsed) << Slurp(path);
  const json::Node saved = document.Root();
  std::vector<std::string> keys;
  for (const json::Pair pair : saved.Pairs()) keys.emplace_back(pair.key);
  EXPECT_EQ(keys, (std::vector<std::string>{"note", "inputs", "layout"}));
  EXPECT_EQ(json::Member(saved, "note").text(), "mine");
  EXPECT_EQ(json::Member(json::Member(saved, "layout"), "w").number(), 1.5);
  const json::Node savedInputs = json::Member(saved, "inputs");
  EXPECT_EQ(json::Member(savedInputs, "Panel font size").number(), 12) << "the run's value";
  const json::Node old = json::Member(savedInputs, "Old input");
  ASSERT_TRUE(old) << Slurp(path);
  EXPECT_EQ(old.size(), 2u) << "the first value, as it was";
  EXPECT_EQ(savedInputs.size(), 8u) << "seven declared inputs and the unknown one, once";
  std::remove(path.c_str());
}

// Unknown labels are skipped (pinned above); the value rules are chart::SetInputFromJson's. The
// file once stored a value the settings dialog refuses; that now ends the run as a bad --set does.
TEST(ChartInputs, ChartFileProblemsNameTheFile) {
  const std::string path = ::testing::TempDir() + "/chart_inputs_bad.json";
  struct Case {
    const char* text;
    const char* problem;  // after the file's name; null: not pinned here
  };
  const Case cases[] = {
      {"{\"inputs\": {\"Panel anchor\": 1, \"Panel font size\": 100}}",
       "input \"Panel font size\" takes 6 to 24, got '100'"},
      {"{\"inputs\": {\"Panel font size\": \"11\"}}", nullptr},
      {"{\"inputs\": []}", nullptr},
      {"[1, 2]", nullptr},
      {"", nullptr},
      // The second one was dropped on save without a word.
      {"{\"inputs\": {}, \"inputs\": {\"Panel font size\": 11}}", nullptr},
  };
  for (const Case& c : cases) {
    std::ofstream(path, std::ios::binary) << c.text;
    chart::InputStore inputs = SampleInputs();
    ChartFile file;
    std::vector<std::string> skipped;
    std::string error;
    EXPECT_FALSE(LoadChartFile(path, inputs, &file, &skipped, &error)) << c.text;
    EXPECT_NE(error.find(path), std::string::npos) << c.text << ": " << error;
    if (c.problem) {
      EXPECT_EQ(error, "the chart file '" + path + "': " + c.problem);
      EXPECT_EQ(inputs.ReadInt(2), 9) << c.text;
    }
  }
  std::remove(path.c_str());
}

// Saved after a run on the embedded sample service, the file held that service's passing
// address instead of the user's own: the saved value is what the file or --set said.
TEST(ChartInputs, RegressionTheEmbeddedServicesAddressIsNeverSaved) {
  const std::string path = ::testing::TempDir() + "/chart_inputs_origin.json";
  const std::string embedded = "http://127.0.0.1:40123";
  const char* const mine = "{\"inputs\": {\"API base URL\": \"https://mine.example\"}}";
  struct Case {
    const char* file;  // null: no chart file yet
    std::vector<std::string> sets;
    bool sample;  // false: the origin is the user's own --origin
    std::string used;
    std::string saved;
  };
  const std::vector<Case> cases = {
      {mine, {}, true, embedded, "https://mine.example"},
      {nullptr, {}, true, embedded, "https://a"},  // the study's default
      {mine, {"API base URL=https://set.example"}, true, "https://set.example", "https://set.example"},
      {mine, {}, false, embedded, embedded},
  };
  for (const Case& c : cases) {
    const std::string tag = std::string(c.file ? "file" : "no file") + (c.sets.empty() ? "" : " --set") +
                            (c.sample ? " sample" : " --origin");
    std::remove(path.c_str());
    if (c.file) std::ofstream(path, std::ios::binary) << c.file;
    chart::InputStore inputs = SampleInputs();
    inputs.Declare(7, {"Snapshot mode", host::InputKind::kChoice, 0, "", {}, {}, "Held;Dynamic (live)"});
    inputs.Declare(8, {"API base URL", host::InputKind::kText, 0, "https://a", {}, {}, ""});
    ChartOptions options;
    options.chartFile = path;
    options.sets = c.sets;
    ChartFile file;
    std::string error;
    ASSERT_TRUE(ApplyInputs(options, embedded, c.sample, inputs, &file, &error)) << tag << ": " << error;
    EXPECT_EQ(inputs.ReadText(8), c.used) << tag << ": the run's levels service";
    json::Document saved;
    ASSERT_EQ(saved.ParseOwned(ChartFileText(file, inputs)), json::ParseResult::kParsed) << tag;
    EXPECT_EQ(json::Member(json::Member(saved.Root(), "inputs"), "API base URL").text(), c.saved) << tag;
  }
  std::remove(path.c_str());
}

}  // namespace
}  // namespace cli
