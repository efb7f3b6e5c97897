#include "platform/posix/posix_services.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "platform/new_york_date_test_support.h"

namespace platform {
namespace {

TEST(PosixServices, NewYorkDateRollsOverAtNewYorkMidnight) {
  PosixServices services;
  for (const testing::NewYorkDateCase& c : testing::kNewYorkDateCases) {
    EXPECT_EQ(testing::DateText(services.NewYorkDate(c.seconds)), c.newYorkDate) << c.utc;
  }
}

TEST(PosixServices, NewYorkOffsetFollowsDaylightSaving) {
  PosixServices services;
  for (const testing::NewYorkOffsetCase& c : testing::kNewYorkOffsetCases) {
    EXPECT_EQ(services.NewYorkUtcOffsetSeconds(c.seconds), c.offset) << c.utc;
  }
}

}  // namespace
}  // namespace platform
