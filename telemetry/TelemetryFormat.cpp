// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/TelemetryFormat.h"

#include "telemetry/CsvFormat.h"
#include "telemetry/GeoJsonFormat.h"
#include "telemetry/GpxFormat.h"

std::unique_ptr<TelemetryFormat> TelemetryFormat::ByName(const std::string& name, SpeedUnit::Unit unit) {
  if (name == "csv")
    return std::make_unique<CsvFormat>(unit);
  if (name == "gpx")
    return std::make_unique<GpxFormat>();
  if (name == "geojson")
    return std::make_unique<GeoJsonFormat>();
  return nullptr;
}
