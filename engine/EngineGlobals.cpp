// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/EngineGlobals.h"

std::atomic<uint32_t> g_nTickCount{0};
std::atomic<uint16_t> g_nPosUnitsPerSecond{0};
std::atomic<int32_t> g_bGpsSyncWait{0};
std::atomic<uint32_t> g_nGpsSyncIndex{0};
