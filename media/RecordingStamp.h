// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The moment a recording starts on the camera's clock, from the stamp that
// ends its name ("..._yyyymmdd_hhmmss.mp4"), as seconds since 1970 without a
// time zone (the camera's clock has none).
class RecordingStamp {
public:
  // Nothing for a name without a stamp or one that is no real moment.
  static std::optional<int64_t> Of(const std::string& path);
  // "hhmmss".
  static std::string TimeOfDayDigits(int64_t seconds);
  // "yyyy-mm-dd hh:mm:ss".
  static std::string DateTime(int64_t seconds);
};
