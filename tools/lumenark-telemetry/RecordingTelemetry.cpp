// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/lumenark-telemetry/RecordingTelemetry.h"

#include "tools/lumenark-telemetry/ContainerInfo.h"

#include <algorithm>

int RecordingTelemetry::Load(const std::string& path) {
  if (const int code = UserDataFile::Load(path))
    return code;
  const int64_t frames = ContainerInfo::VideoFrameCount(path);
  SetPositionCount(frames > 0 ? static_cast<uint32_t>(std::min<int64_t>(frames, UINT32_MAX)) : 0);
  return 0;
}
