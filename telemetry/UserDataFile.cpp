// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/UserDataFile.h"

#include "telemetry/RecordingFile.h"
#include "telemetry/RmcFields.h"

int UserDataFile::Load(const std::string& path) {
  m_area = {};
  m_index.Attach(nullptr, 0);
  m_index.SetRecordCount(0);
  m_openFailure.clear();
  if (path.empty())
    return kNoPath;
  const RecordingFile file(path);
  if (!file.IsOpen()) {
    m_openFailure = file.Failure();
    return UdatLocator::kCannotOpen;
  }
  if (const UdatLocator::Code code = UdatLocator::Locate(file, m_area); code != UdatLocator::kFound)
    return code;
  return Index(m_index, m_area.bytes.get(), m_area.length);
}

int UserDataFile::Index(QIRAUDAT& index, uint8_t* area, size_t length) {
  index.Attach(area, length);
  const int parse = index.Parse();
  return parse == QIRAUDAT::kParseOk ? 0 : kParseFailedBase + parse;
}

void UserDataFile::SetPositionCount(uint32_t count) {
  m_index.SetRecordCount(count != 0 ? count : m_index.GpsRecordCapacity());
}

bool UserDataFile::RmcAt(uint32_t position, RmcFields& fields) const {
  const uint8_t* record = GpsRecord(position);
  return record && record[0] == '$' && fields.ParseSentence(reinterpret_cast<const char*>(record), kGpsRecordBytes);
}
