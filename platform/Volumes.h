// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// A mounted file system, standing in for a drive letter.
struct Volume {
  std::string root;        // mount point with a trailing "/"
  bool removable = false;  // its block device, or the disk it is part of, says so
  uint64_t totalBytes = 0; // 0 when the size cannot be read (no medium)
};

// One line of /proc/self/mountinfo that mounts a whole block device.
struct BlockMount {
  unsigned major = 0;
  unsigned minor = 0;
  std::string mountPoint;
};

// The mounted block devices in mount order, each device once (bind mounts of
// a part of a file system are left out).
std::vector<Volume> listVolumes();

// Parsing and lookups behind listVolumes, apart for tests.
std::vector<BlockMount> parseMountInfo(const std::string& text);
// Whether /sys says the device is removable; a partition asks its disk.
bool isRemovableDevice(const std::string& sysRoot, unsigned major, unsigned minor);
// Mount point plus "/" unless it already ends in one.
std::string volumeRoot(const std::string& mountPoint);

} // namespace platform
