// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/MapUpdateThrottle.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using Action = MapUpdateThrottle::Action;

// The notifications (counted from 1) on which the step acts.
std::vector<int> actingNotifications(MapUpdateThrottle& throttle, float level, int notifications) {
  std::vector<int> acting;
  for (int n = 1; n <= notifications; ++n)
    if (throttle.Step(true, level) != Action::None)
      acting.push_back(n);
  return acting;
}

} // namespace

// Guards the cadence: a wrong interval or an off-by-one in the counter moves
// the marker too often or too rarely.
TEST(MapUpdateThrottle, MovesOnEverySixthOrEleventhConnectedNotification) {
  const struct {
    float level;
    int every;
  } cases[] = {{-1.0f, 6}, {0.0f, 6}, {1.0f, 6}, {2.0f, 11}};
  for (const auto& c : cases) {
    MapUpdateThrottle throttle;
    throttle.Start(true);
    EXPECT_EQ(actingNotifications(throttle, c.level, 3 * c.every),
              (std::vector<int>{c.every, 2 * c.every, 3 * c.every}))
        << "level " << c.level;
  }
}

// At the fastest level the counter still wraps every 31st notification, but
// the marker never moves.
TEST(MapUpdateThrottle, NeverMovesAtLevelThree) {
  MapUpdateThrottle throttle;
  throttle.Start(true);
  for (int n = 1; n <= 62; ++n) {
    EXPECT_EQ(throttle.Step(true, 3.0f), Action::None);
    EXPECT_EQ(throttle.Counter(), n % 31 == 0 ? 0u : uint32_t(n % 31)) << "notification " << n;
  }
}

// Start-up without a connection: the first due step requests the page, the
// next connected notification moves the marker straight away.
TEST(MapUpdateThrottle, RequestsThePageFirstWhenStartedWithoutConnection) {
  MapUpdateThrottle throttle;
  throttle.Start(false);
  EXPECT_FALSE(throttle.PageLoaded());
  for (int n = 1; n <= 5; ++n)
    EXPECT_EQ(throttle.Step(true, 1.0f), Action::None);
  EXPECT_EQ(throttle.Step(true, 1.0f), Action::NavigatePage);
  EXPECT_TRUE(throttle.PageLoaded());
  EXPECT_EQ(throttle.Counter(), 5u);
  EXPECT_EQ(throttle.Step(true, 1.0f), Action::MoveMarker);
  EXPECT_EQ(throttle.Counter(), 0u);
}

// Without a connection nothing counts; a page that failed to load is asked
// for again at the next due step.
TEST(MapUpdateThrottle, OfflineKeepsTheCounterAndAFailedPageIsRequestedAgain) {
  MapUpdateThrottle throttle;
  throttle.Start(true);
  for (int n = 1; n <= 20; ++n)
    EXPECT_EQ(throttle.Step(false, 1.0f), Action::None);
  EXPECT_EQ(throttle.Counter(), 0u);
  throttle.ForgetPage();
  EXPECT_EQ(actingNotifications(throttle, 1.0f, 5), std::vector<int>{});
  EXPECT_EQ(throttle.Step(true, 1.0f), Action::NavigatePage);
}

TEST(MapUpdateThrottle, IntervalFollowsTheSpeedLevel) {
  EXPECT_EQ(MapUpdateThrottle::Interval(-1.0f), 5u);
  EXPECT_EQ(MapUpdateThrottle::Interval(0.5f), 5u);
  EXPECT_EQ(MapUpdateThrottle::Interval(1.0f), 5u);
  EXPECT_EQ(MapUpdateThrottle::Interval(2.0f), 10u);
  EXPECT_EQ(MapUpdateThrottle::Interval(2.9f), 14u);
  EXPECT_EQ(MapUpdateThrottle::Interval(3.0f), 30u);
}
