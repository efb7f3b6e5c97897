// A test's JSON text parsed into a document of its own, for tests of readers that take Nodes.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "json/json_document.h"

namespace json::testing {

// Owns the parsed text and its tree; reads as the root wherever a Node goes. A text that does
// not parse fails the calling test and reads as an absent root.
class ParsedJson {
 public:
  explicit ParsedJson(std::string_view text) {
    EXPECT_EQ(document_.ParseOwned(std::string(text)), ParseResult::kParsed)
        << "test JSON does not parse: " << text;
  }
  operator Node() const { return document_.Root(); }  // NOLINT(google-explicit-constructor)
  Node root() const { return document_.Root(); }

 private:
  Document document_;
};

}  // namespace json::testing
