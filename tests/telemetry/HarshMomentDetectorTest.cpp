// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/HarshMomentDetector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

namespace {

constexpr double kFps = 30.0;
constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
constexpr auto kAlong = &SensorTriple::y, kAcross = &SensorTriple::x, kVertical = &SensorTriple::z;
constexpr float kInfinity = std::numeric_limits<float>::infinity();

// `count` records from `first` on hold `value` on one axis.
struct Burst {
  float SensorTriple::*axis;
  int first;
  int count;
  float value;
};

struct DetectionCase {
  const char* name;
  std::vector<Burst> bursts;
  std::string expected; // "kind start-end;" per moment
};

// A car at rest with ±0.2 g of road noise on every axis, then the bursts.
std::vector<SensorTriple> drive(const std::vector<Burst>& bursts) {
  std::vector<SensorTriple> records(120);
  uint32_t state = 12345;
  auto noise = [&state] {
    state = state * 1664525u + 1013904223u;
    return float(state >> 8) / float(1u << 24) * 0.4f - 0.2f;
  };
  for (SensorTriple& record : records)
    record = SensorTriple{noise(), noise(), 1.0f + noise()};
  for (const Burst& burst : bursts)
    for (int i = burst.first; i < burst.first + burst.count; ++i)
      records[size_t(i)].*burst.axis = burst.value;
  return records;
}

std::string found(const std::vector<SensorTriple>& records) {
  std::ostringstream text;
  text.precision(2);
  text << std::fixed;
  for (const HarshMomentDetector::Moment& moment : HarshMomentDetector(kFps).Detect(records))
    text << HarshMomentDetector::KindName(moment.kind) << ' ' << moment.startSecond << '-' << moment.endSecond << ';';
  return text.str();
}

class HarshMomentDetection : public ::testing::TestWithParam<DetectionCase> {};

TEST_P(HarshMomentDetection, FindsExactlyTheHarshMoments) {
  EXPECT_EQ(found(drive(GetParam().bursts)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    , HarshMomentDetection,
    ::testing::Values(
        DetectionCase{"NoiseAlone", {}, ""}, DetectionCase{"BrakeJustUnderMinimum", {{kAlong, 30, 8, -0.7f}}, ""},
        DetectionCase{"BrakeJustOverMinimum", {{kAlong, 30, 9, -0.7f}}, "harsh-braking 1.00-1.30;"},
        DetectionCase{"Acceleration", {{kAlong, 30, 15, 0.6f}}, "harsh-acceleration 1.00-1.50;"},
        DetectionCase{"CorneringEitherWay", {{kAcross, 45, 12, -0.7f}}, "sharp-cornering 1.50-1.90;"},
        DetectionCase{"ImpactFromVerticalRest", {{kVertical, 60, 2, -0.6f}}, "impact 2.00-2.07;"},
        DetectionCase{"ImpactOnTwoAxesIsOne", {{kAlong, 60, 3, 1.8f}, {kAcross, 61, 3, -1.9f}}, "impact 2.00-2.13;"},
        DetectionCase{"LoneGlitchIsNoImpact", {{kAlong, 60, 1, -1.9f}}, ""},
        DetectionCase{
            "NanNeitherEndsNorCounts", {{kAlong, 30, 15, -0.7f}, {kAlong, 37, 1, kNan}}, "harsh-braking 1.00-1.50;"},
        DetectionCase{"NanLeavesBrakeTooShort", {{kAlong, 30, 12, -0.7f}, {kAlong, 32, 4, kNan}}, ""},
        DetectionCase{"InfinityIsNoImpact", {{kAcross, 30, 5, kInfinity}, {kVertical, 60, 5, -kInfinity}}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
