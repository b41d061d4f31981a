// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/GeoJsonFormat.h"

#include "telemetry/FixedDecimal.h"
#include "telemetry/Track.h"

#include <cstdio>

namespace {

std::string jsonString(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

} // namespace

void GeoJsonFormat::Write(const UserDataFile& telemetry, const std::string& name, std::string& out) const {
  const std::vector<Track::Point> points = Track::FromRecording(telemetry);
  std::string coordinates, times;
  for (const Track::Point& point : points) {
    coordinates += (coordinates.empty() ? "[" : ",[") + FixedDecimal::SixDecimals(point.longitude) + ',' +
                   FixedDecimal::SixDecimals(point.latitude) + ']';
    times += (times.empty() ? "" : ",") + (point.time.empty() ? std::string("null") : jsonString(point.time));
  }
  const std::string geometry =
      points.size() < 2 ? "null" : "{\"type\":\"LineString\",\"coordinates\":[" + coordinates + "]}";
  out += "{\"type\":\"FeatureCollection\",\"features\":[{\"type\":\"Feature\",\"properties\":{\"name\":" +
         jsonString(name) + ",\"times\":[" + times + "]},\"geometry\":" + geometry + "}]}\n";
}
