// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/lumenark-telemetry/TelemetryFormat.h"

#include "tools/lumenark-telemetry/CsvFormat.h"
#include "tools/lumenark-telemetry/GeoJsonFormat.h"
#include "tools/lumenark-telemetry/GpxFormat.h"

std::unique_ptr<TelemetryFormat> TelemetryFormat::ByName(const std::string& name) {
  if (name == "csv")
    return std::make_unique<CsvFormat>();
  if (name == "gpx")
    return std::make_unique<GpxFormat>();
  if (name == "geojson")
    return std::make_unique<GeoJsonFormat>();
  return nullptr;
}
