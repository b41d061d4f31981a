// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How the engine's levels become libmpv settings. The engine starts at
// brightness 1 and volume 100 and sends them unbounded; each mapping clamps.
namespace PlaybackLevels {

inline constexpr int kNeutralBrightness = 1;
inline constexpr int kNormalVolume = 100;
inline constexpr double kSlowestSpeedLevel = -1.0;
inline constexpr double kFastestSpeedLevel = 3.0;
inline constexpr double kNormalSpeedLevel = 1.0;

// Speed level -1, 0, 1, 2, 3 -> rate 1/4, 1/2, 1, 2, 4 (levels in between
// interpolate geometrically); clamped to that range.
double clampSpeedLevel(double level);
double speedRate(double level);

// Brightness level -> lavfi-eq brightness: 0.025 per step from the neutral
// level 1, so the main window's slider (levels 1 to 21) spans 0 to +0.5;
// clamped to eq's range -1 .. 1.
double eqBrightness(double level);

// Volume level -> libmpv volume: the same number, clamped to 0 .. 130
// (libmpv's default volume-max; 100 is the normal, unamplified volume).
double mpvVolume(double level);

} // namespace PlaybackLevels
