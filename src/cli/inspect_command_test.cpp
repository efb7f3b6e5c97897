#include "cli/inspect_command.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/commands.h"
#include "json/json_value.h"
#include "jsonout/utf8_text.h"
#include "payload/levels_response.h"

namespace cli {
namespace {

std::filesystem::path Answers() {
  return std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "data" / "answers";
}

std::string ReadSample(const std::string& name) {
  std::ifstream in(Answers() / name, std::ios::binary);
  EXPECT_TRUE(in.good()) << name;
  std::ostringstream body;
  body << in.rdbuf();
  return body.str();
}

// Runs RunInspect and returns its exit status with what it printed on standard output.
std::pair<int, std::string> RunCaptured(const Args& args) {
  ::testing::internal::CaptureStdout();
  const int status = RunInspect(args);
  return {status, ::testing::internal::GetCapturedStdout()};
}

json::Value ParseOutput(const std::string& out) {
  json::Value value;
  EXPECT_TRUE(json::ParseJson(out, &value)) << out.substr(0, 200);
  return value;
}

const json::Value& SnapshotOf(const json::Value& output) {
  static const json::Value kMissing;
  const json::Value* snapshot = json::Member(output, "snapshot");
  EXPECT_NE(snapshot, nullptr);
  return snapshot ? *snapshot : kMissing;
}

TEST(Inspect, HtmlPageIsNotJson) {
  const auto [status, out] = RunCaptured({(Answers() / "not_json.html").string()});
  EXPECT_EQ(status, 0);
  EXPECT_EQ(out, "{\"json\": false}\n");
}

TEST(Inspect, RefusedAnswersPrintTheFailureMessageOnOneLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"failure_not_object.json", "Levels response was not a JSON object."},
      {"failure_missing_levels.json", "Worker response OK but display_levels is missing."},
      {"failure_error_only.json", "Levels unavailable (error: symbol_not_supported)."},
      {"failure_no_ok.json", "Levels unavailable: worker responded without ok/connected."},
  };
  for (const auto& [name, message] : cases) {
    const auto [status, out] = RunCaptured({(Answers() / name).string()});
    EXPECT_EQ(status, 0) << name;
    EXPECT_EQ(out, std::string("{\"json\": true, \"ok\": false, \"status\": \"") + message +
                       "\"}\n")
        << name;
  }
  EXPECT_EQ(InspectAnswer(R"({"ok": false, "message": "bad \"key\"\n"})", 10),
            "{\"json\": true, \"ok\": false, \"status\": "
            "\"Levels unavailable: bad \\\"key\\\"\\u000a\"}\n");
}

// Bytes of the answer that are not UTF-8 were copied raw, so the output was not valid JSON.
TEST(Inspect, RegressionOutputIsValidUtf8WhateverTheAnswerHolds) {
  const std::string out = InspectAnswer("{\"ok\": false, \"message\": \"key \xff\xc0\xaf \xe2\x82\"}", 10);
  EXPECT_EQ(out, "{\"json\": true, \"ok\": false, \"status\": "
                 "\"Levels unavailable: key \xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd \xef\xbf\xbd\"}\n");
  EXPECT_EQ(jsonout::ValidUtf8(out), out);
}

TEST(Inspect, SnapshotHasEveryFieldInDeclaredOrder) {
  const char* const kKeys[] = {
      "valid", "requestedSymbol", "resolvedSymbol", "sourceSnapshotTime", "conversionNote",
      "expirationNote", "mappingNote", "locked", "lockedRefreshAfterUnix", "lockedSession",
      "focusSummary", "modelSummary", "spot", "callWall", "putWall", "gammaFlip", "volTrigger",
      "zeroGammaModel", "maxPain", "callOiWall", "putOiWall", "zeroDex", "focus", "battleZone",
      "upsideCluster", "downsideCluster", "profileRows", "gammaExposures", "deltaExposures",
      "netGex", "netDex", "volAnchor", "emOneSigma", "volPremium", "emFrozen", "ndxCallWall",
      "ndxPutWall", "ndxGammaFlip", "vannaWalls", "charmZones", "vegaWallStrike", "vannaFlip",
      "charmFlip", "hybridCallWall", "hybridPutWall", "hybridVolTrigger", "ivCallWall",
      "ivPutWall", "priorDayHigh", "priorDayLow", "rthOpen", "openingRange", "priorRthClose",
      "overnightHigh", "overnightLow", "vwap", "vwapBandPlus", "vwapBandMinus", "asiaRange",
      "londonRange", "nyAmRange", "midnightOpen", "atmIv", "callExtenderStrike",
      "putExtenderStrike", "gexCells", "charmCells", "deltaCells", "vannaCells", "vegaCells",
      "profilePoints", "netCum", "callCum", "putCum", "totalVol", "density", "densityBand",
      "zeroGammaBand", "charmHedgeUsd", "charmHedgeDirection", "vannaHedgeUsdPerVolPoint",
      "vannaHedgeDirection", "pressureZoneLower", "pressureZoneUpper"};
  const auto [status, out] = RunCaptured({(Answers() / "extended.json").string()});
  EXPECT_EQ(status, 0);
  const json::Value output = ParseOutput(out);
  EXPECT_EQ(output.keys, (std::vector<std::string>{"json", "ok", "snapshot"}));
  EXPECT_TRUE(json::MemberIsTrue(output, "json") && json::MemberIsTrue(output, "ok"));
  EXPECT_EQ(SnapshotOf(output).keys, std::vector<std::string>(std::begin(kKeys), std::end(kKeys)));
}

// The printed snapshot of extended.json carries the parser's values exactly.
TEST(Inspect, ExtendedValuesReadBackExactly) {
  const std::string body = ReadSample("extended.json");
  json::Value root;
  ASSERT_TRUE(json::ParseJson(body, &root));
  payload::LevelsSnapshot s;
  std::string status;
  ASSERT_TRUE(payload::ParseLevelsResponse(root, 10, &s, &status));
  const json::Value output = ParseOutput(InspectAnswer(body, 10));
  const json::Value& snap = SnapshotOf(output);
  auto number = [&](const json::Value& object, const char* key) {
    const json::Value* member = json::Member(object, key);
    return member && member->kind == json::kNumber ? member->number : -1.0;
  };
  EXPECT_EQ(number(snap, "callWall"), s.callWall.value);
  EXPECT_EQ(number(snap, "lockedRefreshAfterUnix"), 0);
  EXPECT_EQ(number(snap, "volPremium"), 0.25);
  EXPECT_EQ(json::MemberAsText(snap, "conversionNote"), s.conversionNote);

  const json::Value& rows = *json::Member(snap, "profileRows");
  ASSERT_EQ(rows.elements.size(), s.profileRows.size());
  for (size_t i = 0; i < rows.elements.size(); ++i) {
    const json::Value& row = rows.elements[i];
    EXPECT_EQ(row.keys, (std::vector<std::string>{"price", "gex", "mergedCount", "percent", "tag"}));
    EXPECT_EQ(number(row, "gex"), s.profileRows[i].gex) << i;
    EXPECT_EQ(number(row, "percent"), s.profileRows[i].percent) << i;
    EXPECT_EQ(json::MemberAsText(row, "tag"), s.profileRows[i].tag) << i;
  }
  const json::Value& cells = *json::Member(snap, "vegaCells");
  ASSERT_EQ(cells.elements.size(), s.vegaCells.size());
  for (size_t i = 0; i < cells.elements.size(); ++i) {
    EXPECT_EQ(number(cells.elements[i], "strength"), s.vegaCells[i].strength) << i;
    EXPECT_EQ(number(cells.elements[i], "low"), s.vegaCells[i].low) << i;
  }
  const json::Value& points = *json::Member(snap, "profilePoints");
  ASSERT_EQ(points.elements.size(), s.profilePoints.size());
  EXPECT_EQ(points.elements[0].elements.size(), 2u);
  EXPECT_EQ(points.elements[0].elements[1].number, s.profilePoints[0].value);

  const std::pair<const char*, size_t> lists[] = {
      {"focus", 3},          {"vannaWalls", 5},         {"charmZones", 3},
      {"vegaWallStrike", 4}, {"vwapBandPlus", 3},       {"vwapBandMinus", 3},
      {"density", 8},        {"callExtenderStrike", 3}, {"putExtenderStrike", 3},
      {"gammaExposures", 301}};
  for (const auto& [key, size] : lists) {
    const json::Value* list = json::Member(snap, key);
    ASSERT_TRUE(list && list->kind == json::kArray) << key;
    EXPECT_EQ(list->elements.size(), size) << key;
  }
  const json::Value& focus = json::Member(snap, "focus")->elements[0];
  EXPECT_EQ(focus.keys, (std::vector<std::string>{"value", "label", "shortLabel", "confidence"}));
  EXPECT_EQ(json::Member(snap, "density")->elements[0].keys,
            (std::vector<std::string>{"price", "touchPct"}));
  EXPECT_EQ(json::Member(snap, "battleZone")->keys,
            (std::vector<std::string>{"low", "high", "label"}));
  EXPECT_EQ(json::Member(snap, "asiaRange")->keys,
            (std::vector<std::string>{"low", "high", "label"}));
  EXPECT_EQ(json::Member(snap, "densityBand")->keys, (std::vector<std::string>{"p16", "p84"}));
  EXPECT_EQ(json::Member(snap, "zeroGammaBand")->keys,
            (std::vector<std::string>{"lower", "upper"}));
}

TEST(Inspect, AbsentValuesPrintAsNullsAndEmptyLists) {
  const json::Value snap = SnapshotOf(ParseOutput(
      InspectAnswer(R"({"ok": true, "connected": true, "display_levels": {}})", 10)));
  const char* nulls[] = {"spot", "zeroGammaModel", "battleZone", "openingRange", "densityBand",
                         "zeroGammaBand", "charmHedgeUsd", "atmIv"};
  for (const char* key : nulls) EXPECT_EQ(json::Member(snap, key)->kind, json::kNull) << key;
  const char* empties[] = {"profileRows", "vannaWalls", "charmZones", "vegaWallStrike",
                           "gexCells", "profilePoints", "density", "callExtenderStrike"};
  for (const char* key : empties) {
    EXPECT_TRUE(json::Member(snap, key)->elements.empty()) << key;
  }
  const json::Value& focus = *json::Member(snap, "focus");
  ASSERT_EQ(focus.elements.size(), 3u);
  for (const json::Value& entry : focus.elements) EXPECT_EQ(entry.kind, json::kNull);
  const json::Value& bands = *json::Member(snap, "vwapBandMinus");
  ASSERT_EQ(bands.elements.size(), 3u);
  EXPECT_EQ(bands.elements[2].kind, json::kNull);
  EXPECT_TRUE(json::MemberIsTrue(snap, "valid"));
  EXPECT_EQ(json::Member(snap, "locked")->kind, json::kBoolean);
  EXPECT_EQ(json::Member(snap, "volPremium")->number, 0.25);
}

TEST(Inspect, TopStrikesOptionAndArgumentErrors) {
  const std::string extended = (Answers() / "extended.json").string();
  const auto [status, out] = RunCaptured({"--top-strikes", "3", extended});
  EXPECT_EQ(status, 0);
  EXPECT_EQ(json::Member(SnapshotOf(ParseOutput(out)), "profileRows")->elements.size(), 3u);

  const Args errors[] = {{}, {"--top-strikes", "x", extended}, {extended, "--top-strikes"},
                         {extended, extended}, {"--bogus", extended},
                         {(Answers() / "missing.json").string()}, {Answers().string()}};
  for (const Args& args : errors) {
    const std::string tag = args.empty() ? "(none)" : args.back();
    ::testing::internal::CaptureStderr();
    const auto [errorStatus, errorOut] = RunCaptured(args);
    const std::string message = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(errorStatus, 2) << tag;
    EXPECT_EQ(errorOut, "") << tag;
    EXPECT_TRUE(message.rfind("ordinel inspect", 0) == 0 || message.rfind("usage:", 0) == 0)
        << tag << ": " << message;
  }
}

TEST(Inspect, DashReadsStandardInput) {
  std::FILE* in = std::freopen((Answers() / "not_json.html").string().c_str(), "rb", stdin);
  ASSERT_NE(in, nullptr);
  const auto [status, out] = RunCaptured({"-"});
  EXPECT_EQ(status, 0);
  EXPECT_EQ(out, "{\"json\": false}\n");
}

}  // namespace
}  // namespace cli
