// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>

inline constexpr uint16_t kPosUnitsNotSet = 255;
inline constexpr float kSlowestSpeedLevel = -1.0f;
inline constexpr float kNormalSpeedLevel = 1.0f;
inline constexpr float kFastestSpeedLevel = 3.0f;

// The process-wide playback values shared by the engine's callback, the main
// window and the event notes. Reset() gives the values of a fresh start.
struct PlaybackValues {
  // Frame reports seen; a notification goes out when it is a multiple of 3.
  std::atomic<uint32_t> nTickCount{0};
  // Position units per second of recording; kPosUnitsNotSet until the library
  // reports the duration of an opened recording, 0 before any.
  std::atomic<uint16_t> nPosUnitsPerSecond{0};
  // Telemetry refresh waits for a usable GPS record, since position nGpsSyncIndex.
  std::atomic<int32_t> bGpsSyncWait{0};
  std::atomic<uint32_t> nGpsSyncIndex{0};
  // Playback speed level, -1 to 3 ("-x4" to "x4"); 1 at start and whenever a
  // recording has just been opened. Read and written on the window's thread only.
  float fSpeedLevel = kNormalSpeedLevel;
  // The six time digits (hhmmss) of the last event text file named "evt_"/"slt_"
  // + stamp, zero-terminated; kept until another such file matches. Window's thread only.
  char szEventTime[8] = {};

  void Reset();
};

extern PlaybackValues g_Playback;
