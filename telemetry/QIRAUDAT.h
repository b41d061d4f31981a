// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

// Index over a recording's user-data area: the "udat" box with its "TIME",
// "GPSI" and "SENS" sub-boxes, one record per position in each. The area is
// owned by the caller; every getter returns only records that lie wholly
// inside it.
class QIRAUDAT {
public:
  static constexpr size_t kTimeRecordBytes = 4;
  static constexpr size_t kGpsRecordBytes = 76;
  static constexpr size_t kSensorRecordBytes = 12;

  // Parse results.
  static constexpr int kParseOk = 0;
  static constexpr int kNoArea = 1;
  static constexpr int kNoTimeBox = 2;
  static constexpr int kNoGpsBox = 3;
  static constexpr int kNoSensorBox = 4;

  virtual ~QIRAUDAT();

  void Attach(uint8_t* data, size_t length);
  // Reads the sub-box headers; a header that is not wholly inside the area
  // counts as the missing box.
  int Parse();
  void SetRecordCount(uint32_t count);
  uint32_t RecordCount() const { return m_nRecordCount; }

  uint8_t* GetTimeRecord(uint32_t index) const;
  // None also when the record starts at or beyond the udat size minus one.
  uint8_t* GetGpsRecord(uint32_t index) const;
  uint8_t* GetSensorRecord(uint32_t index) const;
  // Whole GPS records that the "GPSI" size announces (0 before a parse found
  // the box); for recordings whose container gives no frame count.
  uint32_t GpsRecordCapacity() const;

  // 1 after a failed load, 0 after one that reached the parse.
  std::atomic<int32_t> m_nError{0};

private:
  struct SubBox {
    uint32_t size = 0;
    char type[4] = {};
    size_t recordsOffset = 0; // from the start of the area
  };

  bool ReadSubBox(size_t headerOffset, const char* expectedType, SubBox& box) const;
  uint8_t* Record(const SubBox& box, uint32_t index, size_t recordBytes) const;

  uint8_t* m_pData = nullptr;
  size_t m_nLength = 0;
  std::atomic<uint32_t> m_nRecordCount{0};
  uint32_t m_nUdatSize = 0;
  char m_UdatType[4] = {};
  SubBox m_Time;
  SubBox m_Gps;
  SubBox m_Sensor;
};
