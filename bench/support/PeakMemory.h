// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstring>
#include <fstream>
#include <string>

// This process's resident memory as the kernel counts it, for benchmarks that
// measure what one step takes at its peak.
namespace peak_memory {

inline long StatusKiB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0)
      return std::stol(line.substr(std::strlen(field) + 1));
  }
  return 0;
}

// Restarts the kernel's peak-RSS mark at the current RSS.
inline void Reset() { std::ofstream("/proc/self/clear_refs") << "5"; }

inline long CurrentKiB() { return StatusKiB("VmRSS:"); }
inline long PeakKiB() { return StatusKiB("VmHWM:"); }

} // namespace peak_memory
