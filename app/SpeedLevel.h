// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PlaybackValues.h"

// The speed label's text for a level: "-x4", "-x2", "x1", "x2" or "x4".
const char* SpeedLevelText(float level);
