// SPDX-License-Identifier: GPL-3.0-or-later
// Process-wide values of the recording library, read by the telemetry display.
#pragma once

#include <QString>

// Whether the folder label was filled since the last folder choice (0 or 1).
extern int g_bFolderLabelSet;
// The card's event text folder of the recording opened last, with its trailing separator.
extern QString g_szEventFolder;
