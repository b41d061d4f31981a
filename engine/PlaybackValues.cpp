// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/PlaybackValues.h"

#include <algorithm>
#include <iterator>

PlaybackValues g_Playback;

void PlaybackValues::Reset() {
  nTickCount = 0;
  nPosUnitsPerSecond = 0;
  bGpsSyncWait = 0;
  nGpsSyncIndex = 0;
  fSpeedLevel = kNormalSpeedLevel;
  std::fill(std::begin(szEventTime), std::end(szEventTime), '\0');
}
