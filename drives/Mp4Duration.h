// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

class RecordingFile;

// A recording's length as its movie header ("moov"/"mvhd") states it: the
// index the camera writes when it closes the file. Only the box headers and
// the header's first 32 bytes are read, whatever the file's size.
class Mp4Duration {
public:
  // Seconds; nothing without a movie header or with a zero time scale.
  static std::optional<double> Seconds(const RecordingFile& file);
};
