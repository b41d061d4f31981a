// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/TelemetryStore.h"

#include "telemetry/UserDataFile.h"

#include <algorithm>
#include <cstring>

void TelemetryStore::Adopt(UdatLocator::Area area) {
  std::lock_guard lock(m_Lock);
  m_pUserDataBuf = std::move(area.bytes);
  m_nUserDataSize = area.length;
  m_UserData.Attach(m_pUserDataBuf.get(), m_nUserDataSize);
  m_nLastLookUp = kNoLookUp;
}

int TelemetryStore::Index() {
  std::lock_guard lock(m_Lock);
  return UserDataFile::Index(m_UserData, m_pUserDataBuf.get(), m_nUserDataSize);
}

void TelemetryStore::Clear() {
  std::lock_guard lock(m_Lock);
  m_UserData.Attach(nullptr, 0);
  m_pUserDataBuf.reset();
  m_nUserDataSize = 0;
  m_nLastLookUp = kNoLookUp;
}

void TelemetryStore::AllocateBuffers() {
  std::lock_guard lock(m_Lock);
  if (!m_pGpsSentence)
    m_pGpsSentence = std::make_unique<GpsSentence>();
  if (!m_pGSensor)
    m_pGSensor = std::make_unique<GSensor>();
}

TelemetryStore::Refresh TelemetryStore::RefreshAt(uint32_t position, uint32_t positionsPerSecond) {
  std::lock_guard lock(m_Lock);
  uint8_t* gps = m_UserData.GetGpsRecord(position);
  const uint8_t* sensor = m_UserData.GetSensorRecord(position);
  m_UserData.GetTimeRecord(position);
  if (!gps || (gps[0] != '$' && gps[0] != 0))
    return Refresh::kGpsUnusable;

  if (gps[0] == 0)
    gps = SentencePassedOver(position, positionsPerSecond);
  m_nLastLookUp = position;
  if (gps) {
    std::memcpy(m_pGpsSentence->data(), gps, kGpsSentenceBytes);
    std::memset(gps, 0, 4); // consumed: later refreshes here keep the sentence
  }
  if (sensor)
    std::memcpy(m_pGSensor->data(), sensor, sizeof(GSensor));
  else
    m_pGSensor->fill(0.0f);
  return gps ? Refresh::kSentenceTaken : Refresh::kNoNewSentence;
}

// A recording may carry one sentence a second with empty records between,
// and only every third report looks a record up: the newest sentence among the
// records passed over since the previous lookup, at most a second back, is the
// one the position shows.
uint8_t* TelemetryStore::SentencePassedOver(uint32_t position, uint32_t positionsPerSecond) {
  const uint32_t secondBack = position >= positionsPerSecond ? position - positionsPerSecond + 1 : 0;
  const bool onFromLastLookUp = m_nLastLookUp != kNoLookUp && m_nLastLookUp < position;
  const uint32_t oldest = onFromLastLookUp ? std::max(m_nLastLookUp + 1, secondBack) : secondBack;
  for (uint32_t index = position; index-- > oldest;) {
    uint8_t* record = m_UserData.GetGpsRecord(index);
    if (record && record[0] == '$')
      return record;
  }
  return nullptr;
}

bool TelemetryStore::Read(GpsSentence& sentence, GSensor& sensor) const {
  std::lock_guard lock(m_Lock);
  if (!m_pGpsSentence || !m_pGSensor)
    return false;
  sentence = *m_pGpsSentence;
  sensor = *m_pGSensor;
  return true;
}

size_t TelemetryStore::AreaBytes() const {
  std::lock_guard lock(m_Lock);
  return m_nUserDataSize;
}

TelemetryStore::LockedArea TelemetryStore::Lock() {
  return LockedArea{std::unique_lock(m_Lock), m_UserData, m_pUserDataBuf.get(), m_nUserDataSize};
}
