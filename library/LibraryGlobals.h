// SPDX-License-Identifier: GPL-3.0-or-later
// Process-wide values of the recording library, read by the telemetry display.
#pragma once

#include <QString>

// Whether the folder label was filled since the last folder choice (0 or 1).
extern int g_bFolderLabelSet;
// The card's event text folder of the recording opened last, with its trailing separator.
extern QString g_szEventFolder;
// The six time digits (hhmmss) of the last event text file named "evt_"/"slt_"
// + stamp, zero-terminated; kept until another such file matches.
extern char g_szEventTime[8];
