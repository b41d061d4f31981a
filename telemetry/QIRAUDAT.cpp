// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/QIRAUDAT.h"

#include "telemetry/BigEndian.h"

#include <cstring>

namespace {

constexpr size_t kHeaderBytes = 8;

} // namespace

QIRAUDAT::~QIRAUDAT() = default;

void QIRAUDAT::Attach(uint8_t* data, size_t length) {
  m_pData = data;
  m_nLength = data ? length : 0;
  m_Time = m_Gps = m_Sensor = SubBox{};
  m_nUdatSize = 0;
}

void QIRAUDAT::SetRecordCount(uint32_t count) { m_nRecordCount = count; }

bool QIRAUDAT::ReadSubBox(size_t headerOffset, const char* expectedType, SubBox& box) const {
  if (headerOffset > m_nLength || m_nLength - headerOffset < kHeaderBytes)
    return false;
  // A box of another type stays unindexed, so its getter finds no records.
  if (std::memcmp(m_pData + headerOffset + 4, expectedType, 4) != 0)
    return false;
  box.size = readBigEndian32(m_pData + headerOffset);
  std::memcpy(box.type, expectedType, 4);
  box.recordsOffset = headerOffset + kHeaderBytes;
  return true;
}

int QIRAUDAT::Parse() {
  if (!m_pData)
    return kNoArea;
  if (m_nLength >= kHeaderBytes) {
    m_nUdatSize = readBigEndian32(m_pData);
    std::memcpy(m_UdatType, m_pData + 4, 4);
  }
  if (!ReadSubBox(kHeaderBytes, "TIME", m_Time))
    return kNoTimeBox;
  if (!ReadSubBox(size_t{kHeaderBytes} + m_Time.size, "GPSI", m_Gps))
    return kNoGpsBox;
  if (!ReadSubBox(size_t{kHeaderBytes} + m_Time.size + m_Gps.size, "SENS", m_Sensor))
    return kNoSensorBox;
  return kParseOk;
}

uint8_t* QIRAUDAT::Record(const SubBox& box, uint32_t index, size_t recordBytes) const {
  if (!m_pData || box.recordsOffset == 0 || index >= m_nRecordCount)
    return nullptr;
  const uint64_t start = box.recordsOffset + uint64_t{index} * recordBytes;
  if (start + recordBytes > m_nLength)
    return nullptr;
  return m_pData + start;
}

uint8_t* QIRAUDAT::GetTimeRecord(uint32_t index) const { return Record(m_Time, index, kTimeRecordBytes); }

uint8_t* QIRAUDAT::GetGpsRecord(uint32_t index) const {
  uint8_t* record = Record(m_Gps, index, kGpsRecordBytes);
  if (record && uint64_t(record - m_pData) + 1 >= m_nUdatSize)
    return nullptr;
  return record;
}

uint8_t* QIRAUDAT::GetSensorRecord(uint32_t index) const { return Record(m_Sensor, index, kSensorRecordBytes); }

uint32_t QIRAUDAT::GpsRecordCapacity() const {
  if (m_Gps.recordsOffset == 0 || m_Gps.size < kHeaderBytes)
    return 0;
  return static_cast<uint32_t>((m_Gps.size - kHeaderBytes) / kGpsRecordBytes);
}
