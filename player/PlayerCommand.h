// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// One command for the running player, parsed from the engine's text or made
// by a video window.
struct PlayerCommand {
  enum class Kind {
    LoadFile,       // path1, path2
    Pause,          // toggle
    Stop,           // end the recording before its end
    Seek,           // value seconds; absolute or relative
    SpeedSet,       // value = speed level
    SpeedIncrement, // value = level step
    Brightness,     // value = engine level; absolute or relative
    Volume,         // value = engine level; absolute or relative
    GetTimeLength,
    Quit,
    FrameStep,
    FrameBackStep,
    HardwareDecoding, // value 1 = use a hardware decoder where there is one, 0 = software only
  };

  Kind kind = Kind::Pause;
  std::string path1;
  std::string path2;
  double value = 0.0;
  bool absolute = false;
};
