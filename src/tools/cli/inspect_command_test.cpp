#include "inspect/answer_inspection.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "cli/commands.h"
#include "json/json_test_support.h"
#include "text/utf8_text.h"
#include "payload/payload_test_support.h"
#include "study/fetch_cycle.h"
#include "text/format.h"

namespace cli {
namespace {

std::filesystem::path Answers() { return std::filesystem::path(ORDINEL_DATA) / "answers"; }

// Runs RunInspect and returns its exit status with what it printed on standard output.
std::pair<int, std::string> RunCaptured(const Args& args) {
  ::testing::internal::CaptureStdout();
  const int status = RunInspect(args);
  return {status, ::testing::internal::GetCapturedStdout()};
}

json::Node SnapshotOf(json::Node output) {
  const json::Node snapshot = json::Member(output, "snapshot");
  EXPECT_TRUE(snapshot);
  return snapshot;
}

// The keys of an object in document order.
std::vector<std::string> Keys(json::Node object) {
  std::vector<std::string> keys;
  for (const json::Pair pair : object.Pairs()) keys.emplace_back(pair.key);
  return keys;
}

// Bytes of the answer that are not UTF-8 were copied raw, so the output was not valid JSON.
TEST(Inspect, RegressionFailureLineIsEscapedValidUtf8WhateverTheAnswerHolds) {
  const std::string out =
      inspect::InspectAnswer("{\"ok\": false, \"message\": \"\\\"key\\\"\\n \xff\xc0\xaf \xe2\x82\"}", 10);
  EXPECT_EQ(
      out,
      "{\"json\": true, \"ok\": false, \"status\": "
      "\"Levels unavailable: \\\"key\\\"\\u000a \xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd \xef\xbf\xbd\"}\n");
  EXPECT_EQ(text::ValidUtf8(out), out);
}

TEST(Inspect, SnapshotHasEveryFieldInDeclaredOrder) {
  // The snapshot's keys in declared order, separated by blanks.
  const std::string kKeys =
      "valid requestedSymbol resolvedSymbol sourceSnapshotTime conversionNote expirationNote "
      "mappingNote locked lockedRefreshAfterUnix lockedSession focusSummary modelSummary spot callWall "
      "putWall gammaFlip volTrigger zeroGammaModel maxPain callOiWall putOiWall zeroDex focus "
      "battleZone upsideCluster downsideCluster profileRows gammaExposures deltaExposures netGex "
      "netDex volAnchor emOneSigma volPremium emFrozen ndxCallWall ndxPutWall ndxGammaFlip vannaWalls "
      "charmZones vegaWallStrike vannaFlip charmFlip hybridCallWall hybridPutWall hybridVolTrigger "
      "ivCallWall ivPutWall priorDayHigh priorDayLow rthOpen openingRange priorRthClose overnightHigh "
      "overnightLow vwap vwapBandPlus vwapBandMinus asiaRange londonRange nyAmRange midnightOpen atmIv "
      "callExtenderStrike putExtenderStrike gexCells charmCells deltaCells vannaCells vegaCells "
      "profilePoints netCum callCum putCum totalVol density densityBand zeroGammaBand charmHedgeUsd "
      "charmHedgeDirection vannaHedgeUsdPerVolPoint vannaHedgeDirection pressureZoneLower "
      "pressureZoneUpper";
  const auto [status, out] = RunCaptured({(Answers() / "extended.json").string()});
  EXPECT_EQ(status, 0);
  const json::testing::ParsedJson output(out);
  EXPECT_EQ(Keys(output), (std::vector<std::string>{"json", "ok", "snapshot"}));
  EXPECT_TRUE(json::MemberIsTrue(output, "json") && json::MemberIsTrue(output, "ok"));
  std::string shown;
  for (const std::string& key : Keys(SnapshotOf(output))) shown += (shown.empty() ? "" : " ") + key;
  EXPECT_EQ(shown, kKeys);
}

// The printed snapshot of extended.json carries the parser's values exactly.
TEST(Inspect, ExtendedValuesReadBackExactly) {
  const std::string body = payload::testing::ReadAnswerFile("extended.json");
  payload::LevelsSnapshot s;
  std::string status;
  ASSERT_TRUE(payload::ParseLevelsResponse(json::testing::ParsedJson(body), 10, &s, &status));
  const json::testing::ParsedJson output(inspect::InspectAnswer(body, 10));
  const json::Node snap = SnapshotOf(output);
  auto number = [&](json::Node object, const char* key) {
    const json::Node member = json::Member(object, key);
    return member.IsNumber() ? member.number() : -1.0;
  };
  EXPECT_EQ(number(snap, "callWall"), s.callWall.value);
  EXPECT_EQ(number(snap, "lockedRefreshAfterUnix"), 0);
  EXPECT_EQ(number(snap, "volPremium"), 0.25);
  EXPECT_EQ(json::MemberAsText(snap, "conversionNote"), s.conversionNote);

  const json::Node rows = json::Member(snap, "profileRows");
  ASSERT_EQ(rows.size(), s.profileRows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    const json::Node row = rows.ElementAt(i);
    EXPECT_EQ(Keys(row), (std::vector<std::string>{"price", "gex", "mergedCount", "percent", "tag"}));
    EXPECT_EQ(number(row, "gex"), s.profileRows[i].gex) << i;
    EXPECT_EQ(number(row, "percent"), s.profileRows[i].percent) << i;
    EXPECT_EQ(json::MemberAsText(row, "tag"), s.profileRows[i].tag) << i;
  }
  const json::Node points = json::Member(snap, "profilePoints");
  ASSERT_EQ(points.size(), s.profilePoints.size());
  EXPECT_EQ(points.ElementAt(0).size(), 2u);
  EXPECT_EQ(points.ElementAt(0).ElementAt(1).number(), s.profilePoints[0].value);

  const json::Node focus = json::Member(snap, "focus").ElementAt(0);
  EXPECT_EQ(Keys(focus), (std::vector<std::string>{"value", "label", "shortLabel", "confidence"}));
  EXPECT_EQ(Keys(json::Member(snap, "density").ElementAt(0)),
            (std::vector<std::string>{"price", "touchPct"}));
  EXPECT_EQ(Keys(json::Member(snap, "battleZone")), (std::vector<std::string>{"low", "high", "label"}));
  EXPECT_EQ(Keys(json::Member(snap, "densityBand")), (std::vector<std::string>{"p16", "p84"}));
}

TEST(Inspect, AbsentValuesPrintAsNullsAndEmptyLists) {
  const json::testing::ParsedJson output = json::testing::ParsedJson(
      inspect::InspectAnswer(R"({"ok": true, "connected": true, "display_levels": {}})", 10));
  const json::Node snap = SnapshotOf(output);
  // One key per way of writing a value (level, zone, band; number, cell and pair lists).
  const char* nulls[] = {"spot", "battleZone", "densityBand"};
  for (const char* key : nulls) {
    const json::Node member = json::Member(snap, key);
    EXPECT_TRUE(member && member.IsNull()) << key;
  }
  const char* empties[] = {"profileRows", "vannaWalls",    "charmZones", "vegaWallStrike",
                           "gexCells",    "profilePoints", "density"};
  for (const char* key : empties) {
    EXPECT_TRUE(json::Member(snap, key).IsArray()) << key;
    EXPECT_EQ(json::Member(snap, key).size(), 0u) << key;
  }
  const json::Node focus = json::Member(snap, "focus");
  ASSERT_EQ(focus.size(), 3u);
  for (const json::Node entry : focus.Elements()) EXPECT_TRUE(entry && entry.IsNull());
  const json::Node bands = json::Member(snap, "vwapBandMinus");
  ASSERT_EQ(bands.size(), 3u);
  EXPECT_TRUE(bands.ElementAt(2) && bands.ElementAt(2).IsNull());
}

TEST(Inspect, TopStrikesOptionAndArgumentErrors) {
  const std::string extended = (Answers() / "extended.json").string();
  const auto [status, out] = RunCaptured({"--top-strikes", "3", extended});
  EXPECT_EQ(status, 0);
  const json::testing::ParsedJson output(out);
  EXPECT_EQ(json::Member(SnapshotOf(output), "profileRows").size(), 3u);

  const Args errors[] = {{},
                         {"--top-strikes", "x", extended},
                         {extended, "--top-strikes"},
                         {extended, extended},
                         {"--bogus", extended},
                         {(Answers() / "missing.json").string()},
                         {Answers().string()}};
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

// An answer of 8 MiB and one byte showed a map, though the study refuses such an answer unread:
// inspect must never show what the study would not keep.
TEST(Inspect, RegressionAnAnswerTheStudyRefusesShowsNoMap) {
  const std::string path = ::testing::TempDir() + "/inspect_large_" + std::to_string(::getpid()) + ".json";
  const std::string extended = payload::testing::ReadAnswerFile("extended.json");
  for (const size_t size : {study::kMaxAnswerBytes, study::kMaxAnswerBytes + 1}) {
    // The map, then blanks up to the size: the study's parser takes trailing blanks.
    std::string body = extended;
    body.resize(size, ' ');
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(body.data(), 1, body.size(), file);
    std::fclose(file);
    ::testing::internal::CaptureStderr();
    const auto [status, out] = RunCaptured({path});
    const std::string message = ::testing::internal::GetCapturedStderr();
    if (size <= study::kMaxAnswerBytes) {
      EXPECT_EQ(status, 0) << size;
      EXPECT_EQ(out.rfind("{\n  \"json\": true,\n  \"ok\": true,", 0), 0u)
          << size << ": " << out.substr(0, 80);
      EXPECT_EQ(message, "") << size;
      continue;
    }
    EXPECT_EQ(status, 2) << size;
    EXPECT_EQ(out, "") << size;
    EXPECT_EQ(message,
              text::Format("ordinel inspect: %s: %zu bytes, more than the %zu the study reads; it reads "
                           "nothing of it and shows: %s\n",
                           path, size, study::kMaxAnswerBytes, study::kAnswerTooLargeError));
  }
  std::remove(path.c_str());
}

}  // namespace
}  // namespace cli
