// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class UserDataFile;

// The positions of a recording's "$GPRMC" records, decoded as the map
// receives them. Records without a latitude or longitude (no fix) are left
// out: they carry no place; so are places outside the earth's ranges.
class Track {
public:
  struct Point {
    float latitude = 0;
    float longitude = 0;
    int speedKmh = 0;
    // Seconds since midnight UTC from the sentence's time; -1 without one.
    int secondOfDay = -1;
    // ISO 8601 UTC time from the sentence's time and date fields; empty when
    // they do not form one.
    std::string time;
    // The record it was read from.
    uint32_t position = 0;
  };

  static std::vector<Point> FromRecording(const UserDataFile& telemetry);
  // The "$GPRMC" records whose place lies outside the earth's ranges, which
  // every export leaves out.
  static uint32_t PositionsOutOfRange(const UserDataFile& telemetry);
  // "hhmmss[.ss]" and "ddmmyy" to "20yy-mm-ddThh:mm:ss[.ss]Z" (years 80 to
  // 99 are 19yy); empty when either is malformed.
  static std::string IsoTime(const std::string& time, const std::string& date);

private:
  // Field `index` of a sentence (counted from the one after "$GPRMC,").
  static std::string Field(const char* sentence, int index);
};
