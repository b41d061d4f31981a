// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Seconds as minutes and seconds, "02:05"; minutes past 99 take more places,
// 6000 seconds is "100:00". Negative times show as 00:00.
QString PlayTimeText(int seconds);
