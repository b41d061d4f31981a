// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SpeedLevel.h"

#include <gtest/gtest.h>

// A wrong index would show the neighbouring level's text.
TEST(SpeedLevel, EachLevelHasItsLabel) {
  EXPECT_STREQ(SpeedLevelText(-1.0f), "-x4");
  EXPECT_STREQ(SpeedLevelText(0.0f), "-x2");
  EXPECT_STREQ(SpeedLevelText(1.0f), "x1");
  EXPECT_STREQ(SpeedLevelText(2.0f), "x2");
  EXPECT_STREQ(SpeedLevelText(3.0f), "x4");
}
