// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make-sample-card/NmeaSentence.h"

#include "platform/DecimalText.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr double kKmhPerKnot = 1.852;

// printf's "%05.1f" in the C locale, for the speed and course (never negative).
std::string tenths(double value) {
  std::string text = platform::fixedDecimal(value, 1);
  if (text.size() < 5)
    text.insert(0, 5 - text.size(), '0');
  return text;
}

} // namespace

std::string NmeaSentence::DegreesMinutes(double degrees, int degreeDigits) {
  const long long tenThousandthsOfMinute = std::llround(std::fabs(degrees) * 60.0 * 10000.0);
  const long long whole = tenThousandthsOfMinute / (60 * 10000);
  const long long minutes = tenThousandthsOfMinute % (60 * 10000);
  char text[24];
  std::snprintf(text, sizeof text, "%0*lld%02lld.%04lld", degreeDigits, whole, minutes / 10000, minutes % 10000);
  return text;
}

std::string NmeaSentence::WithChecksum(const std::string& body) {
  unsigned checksum = 0;
  for (const char c : body)
    checksum ^= static_cast<unsigned char>(c);
  char tail[8];
  std::snprintf(tail, sizeof tail, "*%02X", checksum);
  return "$" + body + tail;
}

std::string NmeaSentence::Fix(const Stamp& time, const DrivePlan::Sample& sample) {
  double course = std::round(sample.courseDegrees * 10.0) / 10.0;
  if (course >= 360.0)
    course -= 360.0;
  const std::string motion = tenths(sample.speedKmh / kKmhPerKnot) + "," + tenths(course);
  const std::string body = "GPRMC," + time.NmeaTime() + ",A," + DegreesMinutes(sample.latitude, 2) + "," +
                           (sample.latitude < 0 ? "S" : "N") + "," + DegreesMinutes(sample.longitude, 3) + "," +
                           (sample.longitude < 0 ? "W" : "E") + "," + motion + "," + time.NmeaDate() + ",,,A";
  return WithChecksum(body);
}

std::string NmeaSentence::VoidFix(const Stamp& time) {
  return WithChecksum("GPRMC," + time.NmeaTime() + ",V,,,,,,," + time.NmeaDate() + ",,,N");
}
