// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

// The fields of one "$GPRMC" sentence that the display keeps, each cut to its
// width and zero-terminated, and the values decoded from them.
class RmcFields {
public:
  static constexpr size_t kTimeWidth = 10;
  static constexpr size_t kStatusWidth = 1;
  static constexpr size_t kLatitudeWidth = 9;
  static constexpr size_t kLongitudeWidth = 10;
  static constexpr size_t kHemisphereWidth = 1;
  static constexpr size_t kSpeedWidth = 4;
  static constexpr size_t kCourseWidth = 5;
  // A field collects at most this many characters before its width applies.
  static constexpr size_t kScratchChars = 12;
  // The display copies at most this many characters of a sentence.
  static constexpr size_t kSentenceCopyChars = 71;

  RmcFields() { Clear(); }

  void Clear();
  // Fills the fields from the text that follows "$GPRMC,": a field is stored
  // when its comma is met, so a last field without one is dropped. Stops
  // after the tenth comma.
  void ParseRmcFields(const char* text);
  // A GPS record of up to `length` bytes: false, with the fields cleared, when
  // it does not start with "$GPRMC"; else the fields of its first 71
  // characters.
  bool ParseSentence(const char* record, size_t length);

  const char* Time() const { return m_time; }
  const char* Status() const { return m_status; }
  const char* LatitudeText() const { return m_latitude; }
  const char* LongitudeText() const { return m_longitude; }
  char NorthSouth() const { return m_northSouth[0]; }
  char EastWest() const { return m_eastWest[0]; }
  const char* SpeedText() const { return m_speed; }
  const char* CourseText() const { return m_course; }

  float Latitude() const;
  float Longitude() const;
  // Latitude within -90..+90 and longitude within -180..+180 degrees; a
  // field read as no number is outside. An empty field (no fix) reads as 0.
  bool PositionInRange() const;
  int SpeedKmh() const;
  int Course() const;

private:
  void Store(int field, const char* text);

  char m_time[kTimeWidth + 1];
  char m_status[kStatusWidth + 1];
  char m_latitude[kLatitudeWidth + 1];
  char m_northSouth[kHemisphereWidth + 1];
  char m_longitude[kLongitudeWidth + 1];
  char m_eastWest[kHemisphereWidth + 1];
  char m_speed[kSpeedWidth + 1];
  char m_course[kCourseWidth + 1];
};
