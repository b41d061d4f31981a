// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/GeoJsonFormat.h"

#include "telemetry/FixedDecimal.h"
#include "telemetry/JsonText.h"
#include "telemetry/Track.h"

void GeoJsonFormat::Write(const UserDataFile& telemetry, const std::string& name, std::string& out) const {
  const std::vector<Track::Point> points = Track::FromRecording(telemetry);
  std::string coordinates, times;
  for (const Track::Point& point : points) {
    coordinates += (coordinates.empty() ? "[" : ",[") + FixedDecimal::SixDecimals(point.longitude) + ',' +
                   FixedDecimal::SixDecimals(point.latitude) + ']';
    times += (times.empty() ? "" : ",") + (point.time.empty() ? std::string("null") : JsonText::Quoted(point.time));
  }
  const std::string geometry =
      points.size() < 2 ? "null" : "{\"type\":\"LineString\",\"coordinates\":[" + coordinates + "]}";
  out += "{\"type\":\"FeatureCollection\",\"features\":[{\"type\":\"Feature\",\"properties\":{\"name\":" +
         JsonText::Quoted(name) + ",\"times\":[" + times + "]},\"geometry\":" + geometry + "}]}\n";
}
