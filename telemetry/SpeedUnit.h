// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

// The unit a speed is shown in. The camera's speed is whole km/h; mph is
// converted from that value, so every place that shows a speed agrees.
class SpeedUnit {
public:
  enum class Unit { kKmh, kMph };

  // "kmh" or "mph"; none for any other name.
  static std::optional<Unit> FromName(const std::string& name);
  static const char* Name(Unit unit);  // "kmh", "mph"
  static const char* Label(Unit unit); // "km/h", "mph"
  // The speed in `unit`, rounded to a whole number.
  static int FromKmh(int kmh, Unit unit);
  // A distance in the unit's long measure: km for km/h, mi for mph.
  static double DistanceIn(double metres, Unit unit);
  static const char* DistanceName(Unit unit); // "km", "mi"
};
