#include "web/form_body.h"

#include <gtest/gtest.h>

namespace web {
namespace {

TEST(FormBody, DecodesPairsInOrderAndReadsTheFirstOfAName) {
  struct Case {
    const char* body;
    FormFields fields;
  };
  const Case cases[] = {
      {"label=Draw+Max+Pain&value=No", {{"label", "Draw Max Pain"}, {"value", "No"}}},
      {"label=API%20base%20URL&value=http%3A%2F%2F127.0.0.1%3A1%2Fa%3Db%26c",
       {{"label", "API base URL"}, {"value", "http://127.0.0.1:1/a=b&c"}}},
      {"a&&b=", {{"a", ""}, {"b", ""}}},
      {"v=%3Cimg%20src%3Dx%3E", {{"v", "<img src=x>"}}},
      {"", {}},
  };
  for (const Case& c : cases) {
    const std::optional<FormFields> fields = ParseForm(c.body);
    ASSERT_TRUE(fields) << c.body;
    EXPECT_EQ(*fields, c.fields) << c.body;
  }
  EXPECT_EQ(FormValue({{"a", "1"}, {"b", "2"}, {"a", "3"}}, "a"), "1");  // a repeated name: the first
}

TEST(FormBody, BrokenEscapesAreRefused) {
  for (const char* body : {"x=%", "x=%2", "x=%zz", "%g0=1", "x=1&y=%2"})
    EXPECT_FALSE(ParseForm(body)) << body;
}

}  // namespace
}  // namespace web
