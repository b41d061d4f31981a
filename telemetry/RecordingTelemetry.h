// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "telemetry/UserDataFile.h"

#include <string>

class TelemetryFormat;

// A recording's telemetry read the way the viewer reads it, with one
// position per video frame counted as the player counts them, from the video
// track's sample tables (or per whole GPS record without a video track).
class RecordingTelemetry : public UserDataFile {
public:
  // The user-data area's load code: 0, 1 to 7 or 17 to 20. Positions are set
  // only on 0.
  int Load(const std::string& path);

  // The whole export document of the loaded recording, its track named after
  // the recording's file.
  std::string Document(const TelemetryFormat& format) const;

private:
  std::string m_fileName;
};
