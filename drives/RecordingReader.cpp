// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/RecordingReader.h"

#include "drives/CardTime.h"
#include "drives/Mp4Duration.h"
#include "telemetry/RecordingFile.h"
#include "telemetry/RecordingTelemetry.h"
#include "telemetry/RmcFields.h"
#include "telemetry/Track.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kEarthRadiusMetres = 6371008.8;
constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

double metresBetween(const RecordingSummary::Point& a, const RecordingSummary::Point& b) {
  const double dLatitude = (b.latitude - a.latitude) * kRadiansPerDegree;
  const double dLongitude = (b.longitude - a.longitude) * kRadiansPerDegree;
  const double h = std::sin(dLatitude / 2) * std::sin(dLatitude / 2) +
                   std::cos(a.latitude * kRadiansPerDegree) * std::cos(b.latitude * kRadiansPerDegree) *
                       std::sin(dLongitude / 2) * std::sin(dLongitude / 2);
  return 2 * kEarthRadiusMetres * std::asin(std::sqrt(std::min(1.0, h)));
}

} // namespace

RecordingSummary RecordingReader::Read(const std::string& path, const HarshSettings& harsh) {
  RecordingSummary summary;
  summary.path = path;
  summary.event = path.find("/EventMovie/") != std::string::npos;
  {
    const RecordingFile file(path);
    const std::optional<double> seconds = file.IsOpen() ? Mp4Duration::Seconds(file) : std::nullopt;
    if (!seconds) {
      summary.failure = file.IsOpen() ? "no movie header" : file.Failure();
      ReadStart(nullptr, summary);
      return summary;
    }
    summary.durationSeconds = *seconds;
  }
  RecordingTelemetry telemetry;
  summary.telemetryCode = telemetry.Load(path);
  if (summary.telemetryCode == 0) {
    ReadTrack(telemetry, summary);
    summary.harshMoments = harsh.CountIn(telemetry);
  }
  ReadStart(&telemetry, summary);
  return summary;
}

// One point per second of the recording: the first usable fix in it.
void RecordingReader::ReadTrack(const RecordingTelemetry& telemetry, RecordingSummary& summary) {
  const double rate = telemetry.FrameRate() > 0.0 ? telemetry.FrameRate() : 1.0;
  RmcFields fields;
  for (uint32_t position = 0; position < telemetry.PositionCount(); ++position) {
    if (!telemetry.RmcAt(position, fields) || !*fields.LatitudeText() || !*fields.LongitudeText() ||
        !fields.PositionInRange())
      continue;
    summary.topSpeedKmh = std::max(summary.topSpeedKmh, fields.SpeedKmh());
    const uint32_t second = uint32_t(position / rate);
    if (!summary.track.empty() && summary.track.back().second == second)
      continue;
    summary.track.push_back({second, fields.Latitude(), fields.Longitude(), fields.SpeedKmh()});
    if (summary.track.size() > 1)
      summary.distanceMetres += metresBetween(summary.track[summary.track.size() - 2], summary.track.back());
  }
}

// The stamp in the name places even a recording that cannot be read.
void RecordingReader::ReadStart(const RecordingTelemetry* telemetry, RecordingSummary& summary) {
  std::optional<int64_t> start = CardTime::FromRecordingName(summary.path);
  if (!start && telemetry && summary.telemetryCode == 0) {
    for (const Track::Point& point : Track::FromRecording(*telemetry))
      if ((start = CardTime::FromIsoTime(point.time)))
        break;
  }
  summary.hasStart = start.has_value();
  summary.start = start.value_or(0);
  if (!start && summary.Readable())
    summary.failure = "no time: neither a stamp in its name nor a GPS time";
}
