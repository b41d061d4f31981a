// SPDX-License-Identifier: GPL-3.0-or-later
// Process-wide playback values shared by the engine's callback and the main
// window.
#pragma once

#include <atomic>
#include <cstdint>

// Frame reports seen; a notification goes out when it is a multiple of 3.
extern std::atomic<uint32_t> g_nTickCount;
// Position units per second of recording; kPosUnitsNotSet until the library
// reports the duration.
extern std::atomic<uint16_t> g_nPosUnitsPerSecond;
inline constexpr uint16_t kPosUnitsNotSet = 255;
// Telemetry refresh waits for a usable GPS record, since position g_nGpsSyncIndex.
extern std::atomic<int32_t> g_bGpsSyncWait;
extern std::atomic<uint32_t> g_nGpsSyncIndex;
