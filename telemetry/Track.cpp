// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/Track.h"

#include "telemetry/RmcFields.h"
#include "telemetry/UserDataFile.h"

#include <cstring>

namespace {

constexpr int kTimeField = 0;
constexpr int kDateField = 8;
constexpr size_t kMaxFractionChars = 10; // the point and nine digits

bool allDigits(const std::string& text, size_t from, size_t count) {
  for (size_t i = from; i < from + count; ++i)
    if (i >= text.size() || text[i] < '0' || text[i] > '9')
      return false;
  return true;
}

int twoDigits(const std::string& text, size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); }

// "hhmmss..." already checked to be a time.
int secondsSinceMidnight(const std::string& time) {
  return twoDigits(time, 0) * 3600 + twoDigits(time, 2) * 60 + twoDigits(time, 4);
}

} // namespace

std::string Track::Field(const char* sentence, int index) {
  const char* start = std::strchr(sentence, ',');
  for (int i = 0; start && i < index; ++i)
    start = std::strchr(start + 1, ',');
  if (!start)
    return {};
  ++start;
  return std::string(start, strcspn(start, ",*"));
}

std::string Track::IsoTime(const std::string& time, const std::string& date) {
  if (!allDigits(time, 0, 6) || date.size() != 6 || !allDigits(date, 0, 6))
    return {};
  const std::string fraction = time.substr(6);
  if (!fraction.empty() && (fraction[0] != '.' || fraction.size() < 2 || fraction.size() > kMaxFractionChars ||
                            !allDigits(fraction, 1, fraction.size() - 1)))
    return {};
  const int hours = twoDigits(time, 0), minutes = twoDigits(time, 2), seconds = twoDigits(time, 4);
  const int day = twoDigits(date, 0), month = twoDigits(date, 2), year = twoDigits(date, 4);
  if (hours > 23 || minutes > 59 || seconds > 60 || day < 1 || day > 31 || month < 1 || month > 12)
    return {};
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%sZ", year < 80 ? 2000 + year : 1900 + year, month,
                day, hours, minutes, seconds, fraction.c_str());
  return text;
}

std::vector<Track::Point> Track::FromRecording(const UserDataFile& telemetry) {
  std::vector<Point> points;
  RmcFields fields;
  for (uint32_t position = 0; position < telemetry.PositionCount(); ++position) {
    if (!telemetry.RmcAt(position, fields) || !*fields.LatitudeText() || !*fields.LongitudeText() ||
        !fields.PositionInRange())
      continue;
    const char* text = reinterpret_cast<const char*>(telemetry.GpsRecord(position));
    // The record's own bytes, terminated, for the date the display never reads.
    const std::string sentence(text, strnlen(text, UserDataFile::kGpsRecordBytes));
    const std::string time = Field(sentence.c_str(), kTimeField);
    std::string isoTime = IsoTime(time, Field(sentence.c_str(), kDateField));
    const int secondOfDay = isoTime.empty() ? -1 : secondsSinceMidnight(time);
    points.push_back(
        {fields.Latitude(), fields.Longitude(), fields.SpeedKmh(), secondOfDay, std::move(isoTime), position});
  }
  return points;
}

uint32_t Track::PositionsOutOfRange(const UserDataFile& telemetry) {
  uint32_t count = 0;
  RmcFields fields;
  for (uint32_t position = 0; position < telemetry.PositionCount(); ++position)
    if (telemetry.RmcAt(position, fields) && !fields.PositionInRange())
      ++count;
  return count;
}
