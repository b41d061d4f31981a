// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/MapTrackJson.h"

#include <charconv>
#include <cmath>

namespace {

constexpr int kSecondsPerDay = 24 * 3600;
// Degrees to 1e-6 (about 0.1 m) and whole km/h are all the page can show.
constexpr int kDegreeDecimals = 6;

int firstTime(const std::vector<Track::Point>& points) {
  for (const Track::Point& point : points)
    if (point.secondOfDay >= 0)
      return point.secondOfDay;
  return -1;
}

// "m:ss" from the recording's start.
std::string playTime(int offsetSeconds) {
  const int minutes = offsetSeconds / 60, seconds = offsetSeconds % 60;
  return std::to_string(minutes) + (seconds < 10 ? ":0" : ":") + std::to_string(seconds);
}

std::string harshLabel(const HarshMomentDetector::Moment& moment) {
  char peak[32];
  const auto written = std::to_chars(peak, peak + sizeof peak, double(moment.peak), std::chars_format::fixed, 2);
  return std::string(HarshMomentDetector::KindWords(moment.kind)) + " " + playTime(int(moment.startSecond)) +
         ", peak " + std::string(peak, written.ptr) + " g";
}

} // namespace

void MapTrackJson::AppendNumber(std::string& out, double value, int decimals) {
  if (!std::isfinite(value))
    value = 0;
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  out.append(text, result.ptr);
}

void MapTrackJson::AppendPlace(std::string& out, const Track::Point& point) {
  AppendNumber(out, point.latitude, kDegreeDecimals);
  out += ',';
  AppendNumber(out, point.longitude, kDegreeDecimals);
}

std::string MapTrackJson::LatLonText(double latitude, double longitude) {
  std::string text;
  AppendNumber(text, latitude, kDegreeDecimals);
  text += ", ";
  AppendNumber(text, longitude, kDegreeDecimals);
  return text;
}

const Track::Point* MapTrackJson::PointAt(const std::vector<Track::Point>& points, int offsetSeconds) {
  const int start = firstTime(points);
  if (start < 0 || offsetSeconds < 0)
    return nullptr;
  for (const Track::Point& point : points)
    if (point.secondOfDay >= 0 && (point.secondOfDay - start + kSecondsPerDay) % kSecondsPerDay >= offsetSeconds)
      return &point;
  return nullptr;
}

std::string MapTrackJson::Build(const std::vector<Track::Point>& points, const std::vector<int>& eventOffsets,
                                const std::vector<HarshMomentDetector::Moment>& harshMoments) {
  std::string json = "{\"points\":[";
  const Track::Point* previous = nullptr;
  for (const Track::Point& point : points) {
    // A car standing still repeats its place; one point says it.
    if (previous && previous->latitude == point.latitude && previous->longitude == point.longitude)
      continue;
    json += previous ? ",[" : "[";
    AppendPlace(json, point);
    json += ',';
    json += std::to_string(point.speedKmh);
    json += ']';
    previous = &point;
  }
  std::string events, harsh;
  for (const int offset : eventOffsets)
    AppendPin(events, points, offset, "Event " + playTime(offset));
  for (const HarshMomentDetector::Moment& moment : harshMoments)
    AppendPin(harsh, points, int(moment.startSecond), harshLabel(moment));
  json += "],\"events\":[" + events + "]";
  return json + (harshMoments.empty() ? "" : ",\"harsh\":[" + harsh + "]") + "}";
}

void MapTrackJson::AppendPin(std::string& out, const std::vector<Track::Point>& points, int offsetSeconds,
                             const std::string& label) {
  const Track::Point* point = PointAt(points, offsetSeconds);
  if (!point)
    return;
  out += out.empty() ? "[" : ",[";
  AppendPlace(out, *point);
  out += ",\"" + label + "\"]";
}
