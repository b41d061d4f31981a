// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/CommandParser.h"

#include <gtest/gtest.h>

namespace {

using Kind = PlayerCommand::Kind;

PlayerCommand parsed(const char* text) {
  CommandParser parser;
  const std::optional<PlayerCommand> command = parser.parse(text);
  EXPECT_TRUE(command.has_value()) << text << ": " << parser.errorText();
  return command.value_or(PlayerCommand{});
}

} // namespace

// Guards the engine's exact command texts, including paths with blanks in the
// load command and both modes of the value commands.
TEST(CommandParserTest, ReadsEveryCommandTheEngineSends) {
  const PlayerCommand load = parsed("qira_loadfile \"C:/card/drf0_1 2.mp4\" \"/b c/d.mp4\"");
  EXPECT_EQ(load.kind, Kind::LoadFile);
  EXPECT_EQ(load.path1, "C:/card/drf0_1 2.mp4");
  EXPECT_EQ(load.path2, "/b c/d.mp4");

  EXPECT_EQ(parsed("pause").kind, Kind::Pause);
  EXPECT_EQ(parsed("pt_step 1 1").kind, Kind::Stop);
  EXPECT_EQ(parsed("get_time_length").kind, Kind::GetTimeLength);
  EXPECT_EQ(parsed("quit").kind, Kind::Quit);
  EXPECT_EQ(parsed("frame_back_step").kind, Kind::FrameBackStep);
  const PlayerCommand softwareOnly = parsed("hardware_decoding 0");
  EXPECT_EQ(softwareOnly.kind, Kind::HardwareDecoding);
  EXPECT_DOUBLE_EQ(softwareOnly.value, 0.0);
  EXPECT_DOUBLE_EQ(parsed("hardware_decoding 1").value, 1.0);

  const PlayerCommand relative = parsed("seek -2.50");
  EXPECT_EQ(relative.kind, Kind::Seek);
  EXPECT_DOUBLE_EQ(relative.value, -2.5);
  EXPECT_FALSE(relative.absolute);
  const PlayerCommand absolute = parsed("seek 75.00 2");
  EXPECT_DOUBLE_EQ(absolute.value, 75.0);
  EXPECT_TRUE(absolute.absolute);

  const PlayerCommand speed = parsed("speed_set 3.00 1");
  EXPECT_EQ(speed.kind, Kind::SpeedSet);
  EXPECT_DOUBLE_EQ(speed.value, 3.0);
  EXPECT_EQ(parsed("speed_incr -1.00").kind, Kind::SpeedIncrement);

  const PlayerCommand brightness = parsed("brightness 3 2");
  EXPECT_EQ(brightness.kind, Kind::Brightness);
  EXPECT_TRUE(brightness.absolute);
  const PlayerCommand volume = parsed("volume -40 2");
  EXPECT_EQ(volume.kind, Kind::Volume);
  EXPECT_DOUBLE_EQ(volume.value, -40.0);
}

// Guards against acting on garbage: each of these is refused with a reason.
TEST(CommandParserTest, RefusesUnknownAndMalformedCommands) {
  for (const char* text : {"",
                           "   ",
                           "play",
                           "pause now",
                           "seek",
                           "seek x",
                           "seek 1 7",
                           "seek nan 2",
                           "seek 1e999",
                           "speed_incr 1 1",
                           "volume 50 2 2",
                           "qira_loadfile \"a.mp4\"",
                           "qira_loadfile \"a b",
                           "qira_loadfile \"\" \"b\"",
                           "pt_step 2 1",
                           "quit now",
                           "frame_back_step 1",
                           "hardware_decoding",
                           "hardware_decoding 2",
                           "hardware_decoding 1 1"}) {
    CommandParser parser;
    EXPECT_FALSE(parser.parse(text).has_value()) << '"' << text << '"';
    EXPECT_FALSE(parser.errorText().empty()) << text;
  }
  CommandParser parser;
  EXPECT_FALSE(parser.parse(nullptr).has_value());
}
