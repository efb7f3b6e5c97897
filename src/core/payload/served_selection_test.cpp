#include "payload/served_selection.h"

#include <gtest/gtest.h>

#include "payload/payload_test_support.h"

namespace payload {
namespace {

std::string Joined(const std::vector<std::string>& list) {
  std::string joined;
  for (size_t i = 0; i < list.size(); ++i) joined += (i ? "," : "") + list[i];
  return joined;
}

// "mode | dates | root dates | served/recorded | captured / quotes".
std::string Described(const calendar::ServedSelection& s) {
  return s.mode + " | " + Joined(s.dates) + " | " + Joined(s.rootDates) + " | " + s.coverageServed + "/" +
         s.coverageRecorded + " | " + s.capturedAt + " / " + s.quotesAt;
}

TEST(ReadServedSelection, ReadsTextListsAndNoteFields) {
  const std::pair<const char*, const char*> cases[] = {
      {R"({"expiry_selection":{"mode":"multi","selected_expirations":["2025-01-24","2025-01-17"],
           "coverage":{"served":2,"record_expirations":"7"},"captured_at":1735741800123.6,
           "quotes_at":"n/a"}, "selected_expirations":["2025-01-17"]})",
       "multi | 2025-01-24,2025-01-17 | 2025-01-17 | 2/7 | 1735741800124 / n/a"},
      // Elements that are no texts read as ""; note fields that are neither number nor text too.
      {R"({"expiry_selection":{"mode":1,"selected_expirations":["2025-01-17",5],"coverage":
           {"served":true,"record_expirations":null},"captured_at":[1],"quotes_at":{}},
           "selected_expirations":"2025-01-17"})",
       "1 | 2025-01-17, |  | / |  / "},
      {R"({"selected_expirations":["2025-01-17"]})", " |  | 2025-01-17 | / |  / "},
      {R"({"expiry_selection":["multi"],"selected_expirations":[]})", " |  |  | / |  / "},
  };
  for (const auto& [answer, described] : cases) {
    EXPECT_EQ(Described(ReadServedSelection(testing::Json(answer))), described) << answer;
  }
}

}  // namespace
}  // namespace payload
