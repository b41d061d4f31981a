// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/lumenark-telemetry/RecordingTelemetry.h"

#include "engine/QIRAAdap.h"
#include "tools/lumenark-telemetry/ContainerInfo.h"

#include <algorithm>

RecordingTelemetry::RecordingTelemetry() : m_adapter(std::make_unique<QIRAAdap>(nullptr)) {}

RecordingTelemetry::~RecordingTelemetry() = default;

int RecordingTelemetry::Load(const std::string& path) {
  m_positions = 0;
  m_adapter->StorePaths(path.c_str(), path.c_str());
  const int code = m_adapter->LoadUserData();
  if (code != 0)
    return code;
  const int64_t frames = ContainerInfo::VideoFrameCount(path);
  m_positions = frames > 0 ? static_cast<uint32_t>(std::min<int64_t>(frames, UINT32_MAX))
                           : m_adapter->m_UserData.GpsRecordCapacity();
  m_adapter->m_UserData.SetRecordCount(m_positions);
  return 0;
}

const uint8_t* RecordingTelemetry::GpsRecord(uint32_t position) const {
  return m_adapter->m_UserData.GetGpsRecord(position);
}

const uint8_t* RecordingTelemetry::SensorRecord(uint32_t position) const {
  return m_adapter->m_UserData.GetSensorRecord(position);
}
