// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "telemetry/SensorTriple.h"
#include "telemetry/UserDataFile.h"

#include <string>
#include <vector>

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
  // Frames per second of the video track; 0 without one.
  double FrameRate() const { return m_frameRate; }
  // One triple per position; a position without a sensor record gives NaNs.
  std::vector<SensorTriple> SensorValues() const;

private:
  std::string m_fileName;
  double m_frameRate = 0.0;
};
