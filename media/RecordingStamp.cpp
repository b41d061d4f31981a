// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/RecordingStamp.h"

#include <cstdio>
#include <ctime>
#include <filesystem>

namespace {

constexpr size_t kStampChars = 15; // yyyymmdd_hhmmss

std::string formatted(int64_t seconds, const char* format) {
  const time_t moment = time_t(seconds);
  std::tm fields{};
  char text[32] = {};
  if (gmtime_r(&moment, &fields))
    std::strftime(text, sizeof text, format, &fields);
  return text;
}

} // namespace

std::optional<int64_t> RecordingStamp::Of(const std::string& path) {
  const std::string stem = std::filesystem::path(path).stem().string();
  if (stem.size() < kStampChars)
    return std::nullopt;
  const std::string stamp = stem.substr(stem.size() - kStampChars);
  std::tm fields{};
  char separator = 0;
  int consumed = 0;
  if (std::sscanf(stamp.c_str(), "%4d%2d%2d%c%2d%2d%2d%n", &fields.tm_year, &fields.tm_mon, &fields.tm_mday, &separator,
                  &fields.tm_hour, &fields.tm_min, &fields.tm_sec, &consumed) != 7 ||
      separator != '_' || consumed != int(kStampChars))
    return std::nullopt;
  fields.tm_year -= 1900;
  fields.tm_mon -= 1;
  const int64_t seconds = int64_t(timegm(&fields));
  // timegm moves a day 31 of a 30-day month on; a real moment comes back as read.
  if (formatted(seconds, "%Y%m%d_%H%M%S") != stamp)
    return std::nullopt;
  return seconds;
}

std::string RecordingStamp::TimeOfDayDigits(int64_t seconds) { return formatted(seconds, "%H%M%S"); }

std::string RecordingStamp::DateTime(int64_t seconds) { return formatted(seconds, "%Y-%m-%d %H:%M:%S"); }
