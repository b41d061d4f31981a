// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "telemetry/TelemetryFormat.h"

#include <vector>

// GPX 1.1: one track with one segment, a point per "$GPRMC" record with a
// position, timed from the sentence's time and date.
class GpxFormat : public TelemetryFormat {
public:
  void Write(const UserDataFile& telemetry, const std::string& name, std::string& out) const override;
  // One track with a segment per recording, in the order given.
  static void WriteSegments(const std::vector<const UserDataFile*>& recordings, const std::string& name,
                            std::string& out);
};
