// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/make-sample-card/DrivePlan.h"
#include "tools/make-sample-card/Stamp.h"

#include <string>

// "$GPRMC" sentences as a receiver writes them, with their checksum.
class NmeaSentence {
public:
  static std::string Fix(const Stamp& time, const DrivePlan::Sample& sample);
  // Status V: no position, speed or course.
  static std::string VoidFix(const Stamp& time);
  // "$" + body + "*" + the two-digit XOR of the body.
  static std::string WithChecksum(const std::string& body);

private:
  // ddmm.mmmm (two degree digits) or dddmm.mmmm (three) of the magnitude.
  static std::string DegreesMinutes(double degrees, int degreeDigits);
};
