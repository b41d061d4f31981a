// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/PlayTimes.h"

#include <algorithm>

QString PlayTimeText(int seconds) {
  const int shown = std::max(seconds, 0);
  const int minutes = shown / 60;
  const int rest = shown % 60;
  return QString::asprintf("%d%d:%d%d", minutes / 10, minutes % 10, rest / 10, rest % 10);
}
