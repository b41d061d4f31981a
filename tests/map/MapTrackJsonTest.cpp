// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/MapTrackJson.h"

#include <clocale>
#include <gtest/gtest.h>
#include <string>

namespace {

Track::Point point(float latitude, float longitude, int kmh, int secondOfDay) {
  return {latitude, longitude, kmh, secondOfDay, {}};
}

// Restores the C locale however the test ends.
struct LocaleScope {
  explicit LocaleScope(const char* name) : active(std::setlocale(LC_ALL, name) != nullptr) {}
  ~LocaleScope() { std::setlocale(LC_ALL, "C"); }
  bool active;
};

} // namespace

// A decimal comma would split the pair into four script arguments.
TEST(MapTrackJson, PositionTextKeepsTheDecimalPointInEveryLocale) {
  const LocaleScope german("de_DE.UTF-8");
  EXPECT_EQ(MapTrackJson::LatLonText(37.5665, 126.978), "37.566500, 126.978000");
  EXPECT_EQ(MapTrackJson::LatLonText(-33.8688, -151.2093), "-33.868800, -151.209300");
  EXPECT_EQ(MapTrackJson::Build({point(1.5f, 2.25f, 30, 0)}, {}),
            "{\"points\":[[1.500000,2.250000,30]],\"events\":[]}");
}

TEST(MapTrackJson, DropsRepeatedPlacesAndPinsEventsOnTheTrack) {
  const std::vector<Track::Point> points = {point(1, 1, 0, 86398), point(1, 1, 0, 86399), point(1, 2, 10, 0),
                                            point(1, 3, 20, 2)};
  EXPECT_EQ(MapTrackJson::Build(points, {1, 2, 4, 99, -1}),
            "{\"points\":[[1.000000,1.000000,0],[1.000000,2.000000,10],[1.000000,3.000000,20]],"
            "\"events\":[[1.000000,1.000000,\"Event 0:01\"],[1.000000,2.000000,\"Event 0:02\"],"
            "[1.000000,3.000000,\"Event 0:04\"]]}");
}

// A harsh moment is pinned by its start like an event, labelled with its kind
// and peak; a decimal comma would end the label's number early.
TEST(MapTrackJson, HarshMomentsGetPinsOfTheirOwn) {
  const LocaleScope german("de_DE.UTF-8");
  const std::vector<Track::Point> points = {point(1, 1, 0, 100), point(1, 2, 10, 142)};
  HarshMomentDetector::Moment brake{HarshMomentDetector::Kind::kHarshBraking, 42.0, 45.0, -1.203f};
  EXPECT_EQ(MapTrackJson::Build(points, {}, {brake}),
            "{\"points\":[[1.000000,1.000000,0],[1.000000,2.000000,10]],\"events\":[],"
            "\"harsh\":[[1.000000,2.000000,\"Harsh braking 0:42, peak -1.20 g\"]]}");
}

TEST(MapTrackJson, NoTimesGiveNoPins) {
  EXPECT_EQ(MapTrackJson::Build({point(1, 1, 5, -1)}, {0}), "{\"points\":[[1.000000,1.000000,5]],\"events\":[]}");
  EXPECT_EQ(MapTrackJson::Build({}, {0}), "{\"points\":[],\"events\":[]}");
}
