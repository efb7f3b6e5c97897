#include "live/locked_capture.h"

#include <gtest/gtest.h>

#include "live/live_test_support.h"
#include "service/expiry_request.h"

namespace live {
namespace {

using testing::NewYork;

platform::Services& Zone() { return platform::DefaultServices(); }

TEST(LockedSession, TheSessionInForceTurnsAtTheOpenOfWeekdaysOnly) {
  const struct {
    const char* now;  // New York
    const char* session;
  } cases[] = {
      {"2025-01-03 09:29:59", "2025-01-02"},  // Friday before the open: Thursday's
      {"2025-01-03 09:30", "2025-01-03"},
      {"2025-01-03 23:59", "2025-01-03"},
      {"2025-01-04 12:00", "2025-01-03"},  // Saturday
      {"2025-01-05 20:00", "2025-01-03"},  // Sunday
      {"2025-01-06 09:00", "2025-01-03"},  // Monday before the open
      {"2025-01-06 09:30", "2025-01-06"},
      {"2025-03-10 09:29", "2025-03-07"},  // the Monday the clocks sprang forward
      {"2025-03-10 09:30", "2025-03-10"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LockedSessionAt(Zone(), NewYork(c.now)), c.session) << c.now;
  }
}

TEST(LockedSession, OpensAndNextSessions) {
  const struct {
    const char* session;
    double open;       // seconds since 1970; -1 for a malformed date
    const char* next;  // "" for a malformed date
  } cases[] = {
      {"2025-01-03", 1735914600, "2025-01-06"},  // 14:30Z under EST; Friday to Monday
      {"2025-01-06", 1736173800, "2025-01-07"},
      {"2025-01-04", 1736001000, "2025-01-06"},  // a Saturday has an open but no session after it
      {"2025-03-10", 1741613400, "2025-03-11"},  // 13:30Z under EDT
      {"2025-02-30", -1, ""},
      {"", -1, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SessionOpen(Zone(), c.session), c.open) << c.session;
    EXPECT_EQ(NextSession(c.session), c.next) << c.session;
  }
}

// A small capture of QQQ at New York `wallClock`, dated as the store dates it.
store::CaptureRecord SmallAt(const char* wallClock, double tag) {
  const double asOf = NewYork(wallClock);
  return store::SmallCapture("QQQ", static_cast<int64_t>(asOf), service::NewYorkDateText(asOf), tag);
}

// The store grows as a running service's would, and the locked map is asked for in between.
TEST(LockedCapture, IsTheFirstCaptureFromTheOpenOfTheSessionInForce) {
  const std::unique_ptr<store::CaptureStore> s = store::OpenOrFail(store::FreshStorePath("locked"));
  ASSERT_NE(s, nullptr);
  struct Step {
    const char* add;     // a capture appended first, or null
    const char* now;     // when the locked map is asked for
    const char* locked;  // the capture expected (its time as added), or null for none
    const char* session;
    const char* refresh;  // New York time of locked_refresh_after_unix
  };
  const Step steps[] = {
      {nullptr, "2025-01-02 09:29", nullptr, "", ""},
      {"2025-01-02 09:30:05", "2025-01-02 09:31", "2025-01-02 09:30:05", "2025-01-02", "2025-01-03 09:30"},
      {"2025-01-02 15:00", "2025-01-02 15:01", "2025-01-02 09:30:05", "2025-01-02", "2025-01-03 09:30"},
      {"2025-01-03 08:00", "2025-01-03 08:30", "2025-01-02 09:30:05", "2025-01-02", "2025-01-03 09:30"},
      // The open has passed without a capture yet: the last session's map, already due again.
      {nullptr, "2025-01-03 09:30:30", "2025-01-02 09:30:05", "2025-01-02", "2025-01-03 09:30"},
      {"2025-01-03 09:31", "2025-01-04 12:00", "2025-01-03 09:31", "2025-01-03", "2025-01-06 09:30"},
      {"2025-01-06 07:00", "2025-01-06 09:00", "2025-01-03 09:31", "2025-01-03", "2025-01-06 09:30"},
      // Ten days without a capture: straight back to the last session that had one.
      {nullptr, "2025-01-16 10:00", "2025-01-03 09:31", "2025-01-03", "2025-01-06 09:30"},
  };
  std::map<std::string, int64_t> ids;
  double tag = 0;
  for (const Step& step : steps) {
    if (step.add != nullptr) ids[step.add] = store::AppendOrFail(*s, SmallAt(step.add, ++tag));
    std::optional<LockedCapture> found;
    std::string error;
    ASSERT_TRUE(FindLockedCapture(*s, Zone(), "QQQ", NewYork(step.now), &found, &error)) << error;
    if (step.locked == nullptr) {
      EXPECT_FALSE(found) << step.now;
      continue;
    }
    ASSERT_TRUE(found) << step.now;
    EXPECT_EQ(found->capture.summary.id, ids[step.locked]) << step.now;
    EXPECT_EQ(found->session, step.session) << step.now;
    EXPECT_EQ(found->refreshAfterUnix, NewYork(step.refresh)) << step.now;
    EXPECT_EQ(found->capture.contracts.size(), 2u) << step.now << ": the whole capture";
  }
}

TEST(LockedCapture, NoneWhenNoSessionHasACaptureFromItsOpen) {
  const std::unique_ptr<store::CaptureStore> s = store::OpenOrFail(store::FreshStorePath("preopen"));
  ASSERT_NE(s, nullptr);
  store::AppendOrFail(*s, SmallAt("2025-01-02 08:00", 1));
  store::AppendOrFail(*s, SmallAt("2025-01-03 09:00", 2));
  store::AppendOrFail(*s, SmallAt("2025-01-04 11:00", 3));  // a Saturday has no session
  std::optional<LockedCapture> found;
  std::string error;
  ASSERT_TRUE(FindLockedCapture(*s, Zone(), "QQQ", NewYork("2025-01-06 12:00"), &found, &error)) << error;
  EXPECT_FALSE(found);
  ASSERT_TRUE(FindLockedCapture(*s, Zone(), "SPX", NewYork("2025-01-06 12:00"), &found, &error)) << error;
  EXPECT_FALSE(found) << "another symbol's captures";
}

}  // namespace
}  // namespace live
