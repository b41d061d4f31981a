// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>

// How far this process's peak resident memory rises above its size at
// construction, from the kernel's counters (Linux). Run one measured piece of
// work per fresh process, so that memory freed before cannot be reused and
// hide what the work takes.
class PeakMemoryGrowth {
public:
  PeakMemoryGrowth() {
    // "5" restarts the kernel's peak mark at the current size.
    if (FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
      std::fputs("5", refs);
      std::fclose(refs);
    }
    m_startKiB = StatusKiB("VmRSS:");
  }

  long KiB() const { return StatusKiB("VmHWM:") - m_startKiB; }

private:
  static long StatusKiB(const char* field) {
    FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
      return 0;
    char line[256];
    long kib = 0;
    while (std::fgets(line, sizeof line, status))
      if (std::strncmp(line, field, std::strlen(field)) == 0)
        kib = std::atol(line + std::strlen(field));
    std::fclose(status);
    return kib;
  }

  long m_startKiB = 0;
};
