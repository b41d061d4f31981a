// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

class RecordingFile;

// The camera writes the telemetry area ("udat") after the index, so a cut
// recording rarely has one; where a top-level one is there, whole or cut,
// its whole sub-boxes are kept as a new area.
class TelemetryAreaParts {
public:
  // The area to append to the repaired recording; empty when none is left.
  static std::vector<uint8_t> Kept(const RecordingFile& file);
  // A box of `type` around `payload`; empty when it would be too large for
  // its 32-bit size.
  static std::vector<uint8_t> Box(const char* type, const std::vector<uint8_t>& payload);
};
