// Helpers shared by the payload tests: JSON from literal text, parsed answers, sample files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "json/json_value.h"
#include "payload/levels_response.h"

namespace payload::testing {

inline json::Value Json(std::string_view text) {
  json::Value value;
  EXPECT_TRUE(json::ParseJson(text, &value)) << "test JSON does not parse: " << text;
  return value;
}

// A successful envelope around the level block `blockJson`, with `rootExtra` (members, no braces)
// added to the root.
inline std::string Answer(std::string_view blockJson, std::string_view rootExtra = "") {
  std::string text = "{\"ok\": true, \"connected\": true, ";
  if (!rootExtra.empty()) {
    text += rootExtra;
    text += ", ";
  }
  text += "\"display_levels\": ";
  text += blockJson;
  text += "}";
  return text;
}

// Parses `text` as a levels answer; a refused answer fails the calling test.
inline LevelsSnapshot ParseAnswer(std::string_view text, int topStrikes = 10) {
  LevelsSnapshot snapshot;
  std::string status;
  EXPECT_TRUE(ParseLevelsResponse(Json(text), topStrikes, &snapshot, &status))
      << status << " for " << text;
  return snapshot;
}

inline std::filesystem::path AnswersDir() {
  return std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "data" / "answers";
}

inline std::string ReadAnswerFile(const std::string& name) {
  std::ifstream in(AnswersDir() / name, std::ios::binary);
  EXPECT_TRUE(in.good()) << "cannot open sample answer " << name;
  std::ostringstream body;
  body << in.rdbuf();
  return body.str();
}

}  // namespace payload::testing
