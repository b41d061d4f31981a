// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "telemetry/UserDataFile.h"

#include <string>

// A recording's telemetry read the way the viewer reads it, with one
// position per video frame (or per whole GPS record when the container gives
// no frame count).
class RecordingTelemetry : public UserDataFile {
public:
  // The user-data area's load code: 0, 1 to 7 or 17 to 20. Positions are set
  // only on 0.
  int Load(const std::string& path);
};
