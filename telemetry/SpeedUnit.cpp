// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/SpeedUnit.h"

#include <cmath>

namespace {

constexpr double kKilometresPerMile = 1.609344;

} // namespace

std::optional<SpeedUnit::Unit> SpeedUnit::FromName(const std::string& name) {
  if (name == "kmh")
    return Unit::kKmh;
  if (name == "mph")
    return Unit::kMph;
  return std::nullopt;
}

const char* SpeedUnit::Name(Unit unit) { return unit == Unit::kMph ? "mph" : "kmh"; }

const char* SpeedUnit::Label(Unit unit) { return unit == Unit::kMph ? "mph" : "km/h"; }

int SpeedUnit::FromKmh(int kmh, Unit unit) {
  return unit == Unit::kMph ? int(std::lround(kmh / kKilometresPerMile)) : kmh;
}

double SpeedUnit::DistanceIn(double metres, Unit unit) {
  return metres / 1000.0 / (unit == Unit::kMph ? kKilometresPerMile : 1.0);
}

const char* SpeedUnit::DistanceName(Unit unit) { return unit == Unit::kMph ? "mi" : "km"; }
