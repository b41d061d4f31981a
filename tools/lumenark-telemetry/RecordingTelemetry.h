// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "telemetry/QIRAUDAT.h"

#include <cstdint>
#include <memory>
#include <string>

class QIRAAdap;

// A recording's telemetry read the way the viewer reads it: the engine
// adapter's LoadUserData and its QIRAUDAT index, with one position per video
// frame (or per whole GPS record when the container gives no frame count).
class RecordingTelemetry {
public:
  static constexpr size_t kGpsRecordBytes = QIRAUDAT::kGpsRecordBytes;

  RecordingTelemetry();
  ~RecordingTelemetry();
  RecordingTelemetry(const RecordingTelemetry&) = delete;
  RecordingTelemetry& operator=(const RecordingTelemetry&) = delete;

  // LoadUserData's code: 0, 1 to 7 or 17 to 20. Positions are set only on 0.
  int Load(const std::string& path);

  uint32_t PositionCount() const { return m_positions; }
  // The records of a position; none when it lies outside the area.
  const uint8_t* GpsRecord(uint32_t position) const;
  const uint8_t* SensorRecord(uint32_t position) const;

private:
  std::unique_ptr<QIRAAdap> m_adapter;
  uint32_t m_positions = 0;
};
