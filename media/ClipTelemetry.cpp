// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/ClipTelemetry.h"

#include "media/ClipSource.h"
#include "media/TelemetryAreaParts.h"
#include "telemetry/BigEndian.h"

#include <cstring>
#include <limits>

namespace {

void appendBigEndian32(std::vector<uint8_t>& bytes, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    bytes.push_back(uint8_t(value >> shift));
}

void appendRecord(std::vector<uint8_t>& bytes, const uint8_t* record, size_t size) {
  if (record)
    bytes.insert(bytes.end(), record, record + size);
  else
    bytes.resize(bytes.size() + size, 0);
}

// A position without a sensor record reads as no reading, not as 0 g.
void appendNoReading(std::vector<uint8_t>& bytes) {
  const float none = std::numeric_limits<float>::quiet_NaN();
  uint32_t bits;
  std::memcpy(&bits, &none, sizeof bits);
  for (int value = 0; value < 3; ++value)
    for (int shift = 0; shift < 32; shift += 8)
      bytes.push_back(uint8_t(bits >> shift));
}

} // namespace

void ClipTelemetry::AddTime(const ClipSource& source, uint32_t position, int64_t clipMilliseconds) {
  const uint8_t* record = source.TimeRecord(position);
  const int64_t sourceMilliseconds = record ? int64_t(readBigEndian32(record)) : clipMilliseconds;
  if (&source != m_source)
    m_timeShift = clipMilliseconds - sourceMilliseconds;
  m_source = &source;
  const int64_t rebased = sourceMilliseconds + m_timeShift;
  appendBigEndian32(m_time, uint32_t(rebased < 0 ? 0 : rebased > UINT32_MAX ? UINT32_MAX : rebased));
}

void ClipTelemetry::Add(const ClipSource& source, uint32_t position, int64_t clipMicroseconds) {
  m_any = m_any || source.HasTelemetry();
  AddTime(source, position, clipMicroseconds / 1000);
  appendRecord(m_gps, m_withPositions ? source.GpsRecord(position) : nullptr, QIRAUDAT::kGpsRecordBytes);
  if (const uint8_t* sensor = source.SensorRecord(position))
    appendRecord(m_sensors, sensor, QIRAUDAT::kSensorRecordBytes);
  else
    appendNoReading(m_sensors);
}

std::vector<uint8_t> ClipTelemetry::Area() const {
  if (!m_any)
    return {};
  std::vector<uint8_t> boxes = TelemetryAreaParts::Box("TIME", m_time);
  for (const std::vector<uint8_t>& box :
       {TelemetryAreaParts::Box("GPSI", m_gps), TelemetryAreaParts::Box("SENS", m_sensors)})
    boxes.insert(boxes.end(), box.begin(), box.end());
  return TelemetryAreaParts::Box("udat", boxes);
}
