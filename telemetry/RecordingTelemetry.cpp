// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/RecordingTelemetry.h"

#include "telemetry/Mp4VideoTrack.h"
#include "telemetry/TelemetryFormat.h"

#include <limits>

int RecordingTelemetry::Load(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  m_fileName = slash == std::string::npos ? path : path.substr(slash + 1);
  if (const int code = UserDataFile::Load(path))
    return code;
  const std::optional<Mp4VideoTrack::Info> track = Mp4VideoTrack::read(path);
  SetPositionCount(track ? track->frames : 0);
  m_frameRate = track ? track->frameRate : 0.0;
  return 0;
}

std::string RecordingTelemetry::Document(const TelemetryFormat& format) const {
  std::string document;
  format.Write(*this, m_fileName, document);
  return document;
}

std::vector<SensorTriple> RecordingTelemetry::SensorValues() const {
  constexpr float kNoReading = std::numeric_limits<float>::quiet_NaN();
  std::vector<SensorTriple> values(PositionCount(), SensorTriple{kNoReading, kNoReading, kNoReading});
  for (uint32_t position = 0; position < PositionCount(); ++position)
    if (const uint8_t* record = SensorRecord(position))
      values[position] = SensorTriple::FromRecord(record);
  return values;
}
