// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "telemetry/HarshMomentDetector.h"
#include "telemetry/Track.h"

#include <string>
#include <vector>

// The text that the page's "ShowTrack" reads: the track's places with their
// speed, and a pin for each event. Numbers are written the same in every
// locale.
class MapTrackJson {
public:
  // `eventOffsets`: seconds from the recording's start; each pin goes on the
  // first point at or after it (by the points' GPS times), none when the
  // track has no times or ends before. The harsh moments found from the
  // G-sensor get pins of their own kind, placed the same way by their start.
  static std::string Build(const std::vector<Track::Point>& points, const std::vector<int>& eventOffsets,
                           const std::vector<HarshMomentDetector::Moment>& harshMoments = {});

  // "%f, %f" of the two values with six decimals, a point as the decimal
  // mark whatever the locale says.
  static std::string LatLonText(double latitude, double longitude);

private:
  static void AppendNumber(std::string& out, double value, int decimals);
  static void AppendPlace(std::string& out, const Track::Point& point);
  // A pin's [lat,lon,"label"] at the point of `offsetSeconds`; nothing
  // when the track has no such point.
  static void AppendPin(std::string& out, const std::vector<Track::Point>& points, int offsetSeconds,
                        const std::string& label);
  static const Track::Point* PointAt(const std::vector<Track::Point>& points, int offsetSeconds);
};
