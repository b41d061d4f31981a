// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/DecodingMonitor.h"

#include <gtest/gtest.h>

// Guards the diagnostic lines a user reads when playback stutters: which
// decoder drew the pictures, and how many were dropped (none: no line).
TEST(DecodingMonitorTest, SaysWhichDecoderAndHowManyPicturesWereDropped) {
  struct Choice {
    bool wanted;
    const char* current;
    const char* line;
  };
  for (const Choice& c : {Choice{true, "vaapi-copy", "player: decoding in hardware (vaapi-copy)"},
                          Choice{true, "no", "player: no hardware decoder for this recording, decoding in software"},
                          Choice{true, "", "player: no hardware decoder for this recording, decoding in software"},
                          Choice{false, "no", "player: hardware decoding is off, decoding in software"}})
    EXPECT_EQ(DecodingMonitor::choiceLine(c.wanted, c.current), c.line) << c.current;
  EXPECT_EQ(DecodingMonitor::droppedLine(12, 300), "player: dropped 12 of 300 pictures to keep time");
  EXPECT_EQ(DecodingMonitor::droppedLine(0, 300), "");
}
