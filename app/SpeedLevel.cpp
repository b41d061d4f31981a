// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SpeedLevel.h"

const char* SpeedLevelText(float level) {
  static constexpr const char* kTexts[] = {"-x4", "-x2", "x1", "x2", "x4"};
  const int index = static_cast<int>(level - kSlowestSpeedLevel);
  return index >= 0 && index < 5 ? kTexts[index] : "x1";
}
