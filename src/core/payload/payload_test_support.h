// Helpers shared by the payload and research tests: JSON from literal text, parsed answers and
// the sample answers under data/answers.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "json/json_test_support.h"
#include "payload/levels_response.h"
#include "payload/live_map.h"
#include "payload/research_answer.h"
#include "text/format.h"

namespace payload::testing {

using json::testing::ParsedJson;

inline ParsedJson Json(std::string_view text) { return ParsedJson(text); }

// A successful envelope around the level block `blockJson`, with `rootExtra` (members, no braces)
// added to the root.
inline std::string Answer(std::string_view blockJson, std::string_view rootExtra = "") {
  std::string text = "{\"ok\": true, \"connected\": true, ";
  if (!rootExtra.empty()) text.append(rootExtra).append(", ");
  return text.append("\"display_levels\": ").append(blockJson).append("}");
}

// Parses `text` as a levels answer; a refused answer fails the calling test.
inline LevelsSnapshot ParseAnswer(std::string_view text, int topStrikes = 10) {
  LevelsSnapshot snapshot;
  std::string status;
  EXPECT_TRUE(ParseLevelsResponse(Json(text), topStrikes, &snapshot, &status)) << status << " for " << text;
  return snapshot;
}

// A levels answer's live map and a research answer, from literal JSON text.
inline LiveMap LiveMapOf(std::string_view text) { return ReadLiveMap(Json(text)); }
inline ResearchAnswer ResearchOf(std::string_view text) { return ReadResearchAnswer(Json(text)); }

// "session|source|engine|method|scope|expiry|source time|regime ts .. ratio .. cw .. pw .. gf ..
// net .. tick ..", an absent number as "-".
inline std::string Described(const PositioningCapture& c) {
  auto number = [](std::optional<double> v) { return v ? text::RoundTripDouble(*v) : "-"; };
  return c.session_date + "|" + c.source + "|" + c.engine + "|" + c.conversion_method + "|" + c.scope + "|" +
         c.selected_expiration + "|" + c.source_snapshot_time + "|" + c.regime + " ts " + number(c.ts) +
         " ratio " + number(c.conversion_ratio) + " cw " + number(c.call_wall) + " pw " + number(c.put_wall) +
         " gf " + number(c.gamma_flip) + " net " + number(c.net_gex) + " tick " + number(c.tick_size);
}

inline std::string ReadAnswerFile(const std::string& name) {
  const std::filesystem::path dir = std::filesystem::path(ORDINEL_DATA) / "answers";
  std::ifstream in(dir / name, std::ios::binary);
  EXPECT_TRUE(in.good()) << "cannot open sample answer " << name;
  std::ostringstream body;
  body << in.rdbuf();
  return body.str();
}

}  // namespace payload::testing
