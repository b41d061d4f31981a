// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/RmcFields.h"

#include "telemetry/NmeaDecoding.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int kLastField = 10;

template <size_t N> void keep(char (&field)[N], const char* text) {
  const size_t length = strnlen(text, N - 1);
  std::memcpy(field, text, length);
  field[length] = '\0';
}

} // namespace

void RmcFields::Clear() {
  m_time[0] = m_status[0] = m_latitude[0] = m_northSouth[0] = '\0';
  m_longitude[0] = m_eastWest[0] = m_speed[0] = m_course[0] = '\0';
}

void RmcFields::Store(int field, const char* text) {
  switch (field) {
  case 0:
    keep(m_time, text);
    break;
  case 1:
    keep(m_status, text);
    break;
  case 2:
    keep(m_latitude, text);
    break;
  case 3:
    keep(m_northSouth, text);
    break;
  case 4:
    keep(m_longitude, text);
    break;
  case 5:
    keep(m_eastWest, text);
    break;
  case 6:
    keep(m_speed, text);
    break;
  case 7:
    keep(m_course, text);
    break;
  default: // the date and the magnetic variation are read past
    break;
  }
}

void RmcFields::ParseRmcFields(const char* text) {
  Clear();
  char scratch[kScratchChars + 1];
  size_t collected = 0;
  int field = 0;
  for (; *text; ++text) {
    if (*text != ',') {
      if (collected < kScratchChars)
        scratch[collected++] = *text;
      continue;
    }
    scratch[collected] = '\0';
    Store(field, scratch);
    collected = 0;
    if (++field == kLastField)
      return;
  }
}

bool RmcFields::ParseSentence(const char* record, size_t length) {
  char copy[kSentenceCopyChars + 1] = {};
  std::memcpy(copy, record, strnlen(record, std::min(length, kSentenceCopyChars)));
  if (std::strncmp(copy, "$GPRMC", 6) != 0) {
    Clear();
    return false;
  }
  ParseRmcFields(copy + 7);
  return true;
}

float RmcFields::Latitude() const { return NmeaToDegrees(m_latitude, NorthSouth()); }
float RmcFields::Longitude() const { return NmeaToDegrees(m_longitude, EastWest()); }
bool RmcFields::PositionInRange() const { return std::fabs(Latitude()) <= 90.0f && std::fabs(Longitude()) <= 180.0f; }
int RmcFields::SpeedKmh() const { return SpeedFieldToKmh(m_speed); }
int RmcFields::Course() const { return CourseFieldToInt(m_course); }
