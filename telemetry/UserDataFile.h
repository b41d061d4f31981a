// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "telemetry/QIRAUDAT.h"
#include "telemetry/UdatLocator.h"

#include <cstdint>
#include <string>

class RmcFields;

// A recording's user-data area read from its file: located, copied and
// indexed, with one position per record slot. Owns the copy.
class UserDataFile {
public:
  static constexpr size_t kGpsRecordBytes = QIRAUDAT::kGpsRecordBytes;
  // Load results besides the locator's codes (2 to 7): no path given, and
  // the base added to a failed parse's code (17 to 20).
  static constexpr int kNoPath = 1;
  static constexpr int kParseFailedBase = 16;

  UserDataFile() = default;
  UserDataFile(const UserDataFile&) = delete;
  UserDataFile& operator=(const UserDataFile&) = delete;

  // 0 when the area was found and parsed; 1 to 7 as the locator; 17 to 20.
  int Load(const std::string& path);
  // Why the last Load could not open its file (code 2); empty otherwise.
  const std::string& OpenFailure() const { return m_openFailure; }
  // Attaches an area (owned by the caller) to `index` and parses it: 0, or
  // 17 to 20 for a missing area or sub-box.
  static int Index(QIRAUDAT& index, uint8_t* area, size_t length);

  // Positions count one record of each kind; 0 gives the whole GPS records
  // that the area announces.
  void SetPositionCount(uint32_t count);
  uint32_t PositionCount() const { return m_index.RecordCount(); }

  // The records of a position; none when it lies outside the area.
  const uint8_t* GpsRecord(uint32_t position) const { return m_index.GetGpsRecord(position); }
  const uint8_t* SensorRecord(uint32_t position) const { return m_index.GetSensorRecord(position); }
  // The fields of the position's "$GPRMC" record; false when it holds none.
  bool RmcAt(uint32_t position, RmcFields& fields) const;

private:
  UdatLocator::Area m_area;
  QIRAUDAT m_index;
  std::string m_openFailure;
};
