// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/lumenark-telemetry/RecordingTelemetry.h"

#include "player/Mp4VideoTrack.h"

int RecordingTelemetry::Load(const std::string& path) {
  if (const int code = UserDataFile::Load(path))
    return code;
  const std::optional<Mp4VideoTrack::Info> track = Mp4VideoTrack::read(path);
  SetPositionCount(track ? track->frames : 0);
  return 0;
}
