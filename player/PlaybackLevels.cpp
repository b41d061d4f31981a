// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/PlaybackLevels.h"

#include <algorithm>
#include <cmath>

namespace PlaybackLevels {

namespace {

constexpr double kBrightnessPerStep = 0.025;
constexpr double kLoudestVolume = 130.0;

} // namespace

double clampSpeedLevel(double level) { return std::clamp(level, kSlowestSpeedLevel, kFastestSpeedLevel); }

double speedRate(double level) { return std::exp2(clampSpeedLevel(level) - kNormalSpeedLevel); }

double eqBrightness(double level) { return std::clamp((level - kNeutralBrightness) * kBrightnessPerStep, -1.0, 1.0); }

double mpvVolume(double level) { return std::clamp(level, 0.0, kLoudestVolume); }

} // namespace PlaybackLevels
