// Helpers shared by the research tests: answers from literal text and the sample answers.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "json/json_value.h"
#include "payload/live_map.h"
#include "payload/research_answer.h"

namespace research::testing {

inline json::Value Json(std::string_view text) {
  json::Value value;
  EXPECT_TRUE(json::ParseJson(text, &value)) << "test JSON does not parse: " << text;
  return value;
}

// A levels answer's live map and a research answer, from literal JSON text.
inline payload::LiveMap LiveMapOf(std::string_view text) { return payload::ReadLiveMap(Json(text)); }
inline payload::ResearchAnswer ResearchOf(std::string_view text) {
  return payload::ReadResearchAnswer(Json(text));
}

inline std::string ReadAnswerFile(const std::string& name) {
  const std::filesystem::path path =
      std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "data" / "answers" / name;
  std::ifstream file(path, std::ios::binary);
  EXPECT_TRUE(file) << "missing sample answer " << path;
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

}  // namespace research::testing
