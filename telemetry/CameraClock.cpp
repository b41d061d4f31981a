// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/CameraClock.h"

#include "telemetry/RecordingTelemetry.h"
#include "telemetry/Track.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int64_t kQuarterHourSeconds = 15 * 60;
constexpr int kStampChars = 15;
constexpr char kNamePrefix[] = "drf0_";

bool isLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeap(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
int64_t daysSinceEpoch(int year, int month, int day) {
  const int64_t y = year - (month <= 2 ? 1 : 0);
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yearOfEra = y - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

std::string fileName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::optional<int64_t> CameraClock::SecondsOf(const std::string& text) {
  int year, month, day, hour, minute, second;
  char separator;
  const bool stamp = std::sscanf(text.c_str(), "%4d%2d%2d%c%2d%2d%2d", &year, &month, &day, &separator, &hour, &minute,
                                 &second) == 7 &&
                     separator == '_';
  if (!stamp && std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d", &year, &month, &day, &hour, &minute, &second) != 6)
    return std::nullopt;
  if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour > 23 || minute > 59 || second > 59 ||
      hour < 0 || minute < 0 || second < 0)
    return std::nullopt;
  return daysSinceEpoch(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

std::optional<CameraClock::Reading> CameraClock::ReadingOf(const std::string& path) {
  const std::string name = fileName(path);
  if (name.compare(0, sizeof kNamePrefix - 1, kNamePrefix) != 0)
    return std::nullopt;
  const std::optional<int64_t> start = SecondsOf(name.substr(sizeof kNamePrefix - 1, kStampChars));
  RecordingTelemetry telemetry;
  if (!start || telemetry.Load(path) != 0 || !(telemetry.FrameRate() > 0.0))
    return std::nullopt;
  for (const Track::Point& point : Track::FromRecording(telemetry)) {
    if (const std::optional<int64_t> utc = SecondsOf(point.time)) {
      const auto intoRecording = int64_t(std::floor(point.position / telemetry.FrameRate()));
      return Reading{*start + intoRecording, *utc};
    }
  }
  return std::nullopt;
}

CameraClock CameraClock::FromRecordings(const std::vector<std::string>& paths) {
  CameraClock clock;
  for (const std::string& path : paths)
    if (const std::optional<Reading> reading = ReadingOf(path))
      clock.Add(*reading);
  return clock;
}

std::optional<CameraClock::Estimate> CameraClock::Estimated() const {
  if (m_differences.empty())
    return std::nullopt;
  std::vector<int64_t> sorted = m_differences;
  const auto middle = sorted.begin() + std::ptrdiff_t(sorted.size() / 2);
  std::nth_element(sorted.begin(), middle, sorted.end());
  const int64_t offset = std::llround(double(*middle) / double(kQuarterHourSeconds)) * kQuarterHourSeconds;
  return Estimate{int(offset / 60), *middle - offset, m_differences.size()};
}

bool CameraClock::DriftNoticeable() const {
  const std::optional<Estimate> estimate = Estimated();
  return estimate && std::llabs(estimate->driftSeconds) > kNoticeableDriftSeconds;
}

std::string CameraClock::Text() const {
  const std::optional<Estimate> estimate = Estimated();
  if (!estimate)
    return "Camera clock: cannot tell without a GPS fix";
  const int zone = std::abs(estimate->offsetMinutes);
  const int64_t drift = estimate->driftSeconds;
  char text[128];
  std::snprintf(text, sizeof text, "Camera clock: UTC%c%02d:%02d, %s (from %zu recording%s)",
                estimate->offsetMinutes < 0 ? '-' : '+', zone / 60, zone % 60,
                drift == 0 ? "on time"
                           : (std::to_string(std::llabs(drift)) + (drift > 0 ? " s fast" : " s slow")).c_str(),
                estimate->recordings, estimate->recordings == 1 ? "" : "s");
  return text;
}
