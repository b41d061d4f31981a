// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/PlaybackLevels.h"

#include <gtest/gtest.h>

// Guards the speed levels' rates and that levels out of range stop at the ends.
TEST(PlaybackLevelsTest, SpeedLevelsGiveQuarterToFourTimesTheRate) {
  EXPECT_DOUBLE_EQ(PlaybackLevels::speedRate(-1), 0.25);
  EXPECT_DOUBLE_EQ(PlaybackLevels::speedRate(0), 0.5);
  EXPECT_DOUBLE_EQ(PlaybackLevels::speedRate(1), 1.0);
  EXPECT_DOUBLE_EQ(PlaybackLevels::speedRate(2), 2.0);
  EXPECT_DOUBLE_EQ(PlaybackLevels::speedRate(3), 4.0);
  EXPECT_DOUBLE_EQ(PlaybackLevels::speedRate(9), 4.0);
  EXPECT_DOUBLE_EQ(PlaybackLevels::speedRate(-7), 0.25);
}

// Guards the engine's start values (unchanged picture, normal volume) and the
// clamping of the unbounded values the engine may send.
TEST(PlaybackLevelsTest, BrightnessAndVolumeKeepTheStartValuesAndClamp) {
  EXPECT_DOUBLE_EQ(PlaybackLevels::eqBrightness(1), 0.0);
  EXPECT_DOUBLE_EQ(PlaybackLevels::eqBrightness(21), 0.5);
  EXPECT_DOUBLE_EQ(PlaybackLevels::eqBrightness(1000), 1.0);
  EXPECT_DOUBLE_EQ(PlaybackLevels::eqBrightness(-1000), -1.0);
  EXPECT_DOUBLE_EQ(PlaybackLevels::mpvVolume(100), 100.0);
  EXPECT_DOUBLE_EQ(PlaybackLevels::mpvVolume(250), 130.0);
  EXPECT_DOUBLE_EQ(PlaybackLevels::mpvVolume(-30), 0.0);
}
