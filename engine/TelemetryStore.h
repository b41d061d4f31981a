// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "telemetry/QIRAUDAT.h"
#include "telemetry/UdatLocator.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

// The engine's copy of a recording's user-data area with its index, and the
// two telemetry buffers a refresh fills from it. The player thread refreshes
// while the window's thread loads and reads (and whichever thread ends a
// player run clears), so one lock guards all of it; only the index's record
// count and error flag are atomics of their own.
class TelemetryStore {
public:
  static constexpr size_t kGpsSentenceBytes = QIRAUDAT::kGpsRecordBytes;
  using GpsSentence = std::array<char, kGpsSentenceBytes>;
  using GSensor = std::array<float, 3>;

  // What a refresh found at its position.
  enum class Refresh {
    kSentenceTaken, // a new sentence is in the buffer
    kNoNewSentence, // the buffer keeps its sentence
    kGpsUnusable,   // no GPS record there, or one that is not usable
  };

  // The area and its index held under the lock for as long as the view lives.
  struct LockedArea {
    std::unique_lock<std::mutex> lock;
    QIRAUDAT& index;
    const uint8_t* bytes;
    size_t length;
  };

  // Keeps `area` in place of the previous copy and indexes it afresh.
  void Adopt(UdatLocator::Area area);
  // 0 usable; 16 + the Parse code (17..20).
  int Index();
  // Drops the copy; the buffers stay, as they live as long as the engine.
  void Clear();
  void SetRecordCount(uint32_t count) { m_UserData.SetRecordCount(count); }
  int32_t ErrorFlag() const { return m_UserData.m_nError; }
  void SetErrorFlag(int32_t failed) { m_UserData.m_nError = failed; }

  // Makes both buffers on first use; until then Read has nothing to give.
  void AllocateBuffers();
  // Takes the records of `position` into the buffers; a sentence is consumed
  // in the copy, so a later refresh there keeps the buffer's sentence.
  Refresh RefreshAt(uint32_t position, uint32_t positionsPerSecond);
  // Copies of both buffers; false until AllocateBuffers made them.
  bool Read(GpsSentence& sentence, GSensor& sensor) const;

  // The held copy's size in bytes.
  size_t AreaBytes() const;

private:
  // Tests look into the held copy through their own accessor.
  friend struct TelemetryStoreInspection;
  LockedArea Lock();

  static constexpr uint32_t kNoLookUp = 0xFFFFFFFFu;

  uint8_t* SentencePassedOver(uint32_t position, uint32_t positionsPerSecond);

  mutable std::mutex m_Lock;
  QIRAUDAT m_UserData;
  std::unique_ptr<uint8_t[]> m_pUserDataBuf;
  size_t m_nUserDataSize = 0;
  std::unique_ptr<GpsSentence> m_pGpsSentence;
  std::unique_ptr<GSensor> m_pGSensor;
  // Position of the previous sentence lookup; kNoLookUp for a new area.
  uint32_t m_nLastLookUp = kNoLookUp;
};
