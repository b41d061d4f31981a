// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Playback speed level, -1 to 3 ("-x4" to "x4"); 1 at start and whenever a
// recording has just been opened. Read and written on the UI thread only.
extern float g_fSpeedLevel;

inline constexpr float kSlowestSpeedLevel = -1.0f;
inline constexpr float kNormalSpeedLevel = 1.0f;
inline constexpr float kFastestSpeedLevel = 3.0f;

// The speed label's text for a level: "-x4", "-x2", "x1", "x2" or "x4".
const char* SpeedLevelText(float level);
