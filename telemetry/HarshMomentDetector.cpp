// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/HarshMomentDetector.h"

#include <algorithm>
#include <cmath>

namespace {

// Against rounding in a count of records divided by the frame rate.
constexpr double kSecondsTolerance = 1e-9;

bool below(float value, float threshold) { return value < threshold; }
bool above(float value, float threshold) { return value > threshold; }
bool beyondMagnitude(float value, float threshold) { return std::fabs(value) > threshold; }

// Each kind's name in documents and its words for the user, in the order of Kind.
struct KindTexts {
  const char* name;
  const char* words;
};
constexpr KindTexts kKindTexts[] = {{"harsh-braking", "Harsh braking"},
                                    {"harsh-acceleration", "Harsh acceleration"},
                                    {"sharp-cornering", "Sharp cornering"},
                                    {"impact", "Impact"}};

float medianOfThree(float a, float b, float c) { return std::max(std::min(a, b), std::min(std::max(a, b), c)); }

float restingVertical(const std::vector<SensorTriple>& records) {
  std::vector<float> vertical;
  for (const SensorTriple& record : records)
    if (std::isfinite(record.z))
      vertical.push_back(record.z);
  if (vertical.empty())
    return 0.0f;
  const auto middle = vertical.begin() + vertical.size() / 2;
  std::nth_element(vertical.begin(), middle, vertical.end());
  return *middle;
}

} // namespace

HarshMomentDetector::HarshMomentDetector(double frameRate, const Thresholds& thresholds)
    : m_frameRate(frameRate), m_thresholds(thresholds) {}

std::vector<HarshMomentDetector::Moment> HarshMomentDetector::Detect(const std::vector<SensorTriple>& records) const {
  const Series along = Smoothed(records, &SensorTriple::y, 0.0f);
  const Series across = Smoothed(records, &SensorTriple::x, 0.0f);
  const Series vertical = Smoothed(records, &SensorTriple::z, restingVertical(records));
  const Thresholds& t = m_thresholds;
  std::vector<Moment> moments;
  AddRuns(along, Kind::kHarshBraking, below, t.brakingG, t.minimumSeconds, moments);
  AddRuns(along, Kind::kHarshAcceleration, above, t.accelerationG, t.minimumSeconds, moments);
  AddRuns(across, Kind::kSharpCornering, beyondMagnitude, t.corneringG, t.minimumSeconds, moments);
  std::vector<Moment> impacts;
  for (const Series* axis : {&along, &across, &vertical})
    AddRuns(*axis, Kind::kImpact, beyondMagnitude, t.impactG, 0.0, impacts);
  for (const Moment& impact : MergedImpacts(std::move(impacts)))
    moments.push_back(impact);
  std::stable_sort(moments.begin(), moments.end(), [](const Moment& a, const Moment& b) {
    return a.startSecond != b.startSecond ? a.startSecond < b.startSecond : a.kind < b.kind;
  });
  return moments;
}

const char* HarshMomentDetector::KindName(Kind kind) { return kKindTexts[size_t(kind)].name; }

const char* HarshMomentDetector::KindWords(Kind kind) { return kKindTexts[size_t(kind)].words; }

// A median of three neighbouring readings: a lone wrong record (a glitch, a
// jolt of the mount) vanishes instead of being smeared over its neighbours as
// a moving average would, and a real run keeps its edges, so its start second
// stays exact and its peak is a reading the camera made. A peak therefore
// needs two records in a row to count.
HarshMomentDetector::Series HarshMomentDetector::Smoothed(const std::vector<SensorTriple>& records,
                                                          float SensorTriple::*axis, float offset) {
  Series finite;
  for (size_t record = 0; record < records.size(); ++record)
    if (std::isfinite(records[record].*axis))
      finite.push_back({record, records[record].*axis - offset});
  Series smoothed = finite;
  for (size_t i = 1; i + 1 < finite.size(); ++i)
    smoothed[i].value = medianOfThree(finite[i - 1].value, finite[i].value, finite[i + 1].value);
  return smoothed;
}

void HarshMomentDetector::AddRuns(const Series& series, Kind kind, Beyond beyond, float threshold,
                                  double minimumSeconds, std::vector<Moment>& moments) const {
  size_t runLength = 0;
  Moment run{kind};
  auto close = [&] {
    if (runLength > 0 && double(runLength) / m_frameRate >= minimumSeconds - kSecondsTolerance)
      moments.push_back(run);
    runLength = 0;
  };
  for (const Reading& reading : series) {
    if (!beyond(reading.value, threshold)) {
      close();
      continue;
    }
    if (runLength++ == 0) {
      run.startSecond = double(reading.record) / m_frameRate;
      run.peak = reading.value;
    }
    run.endSecond = double(reading.record + 1) / m_frameRate;
    if (std::fabs(reading.value) > std::fabs(run.peak))
      run.peak = reading.value;
  }
  close();
}

// One impact shakes several axes at once: overlapping peaks are one moment,
// with the largest of their peaks.
std::vector<HarshMomentDetector::Moment> HarshMomentDetector::MergedImpacts(std::vector<Moment> impacts) {
  std::sort(impacts.begin(), impacts.end(),
            [](const Moment& a, const Moment& b) { return a.startSecond < b.startSecond; });
  std::vector<Moment> merged;
  for (const Moment& impact : impacts) {
    if (merged.empty() || impact.startSecond >= merged.back().endSecond) {
      merged.push_back(impact);
      continue;
    }
    Moment& last = merged.back();
    last.endSecond = std::max(last.endSecond, impact.endSecond);
    if (std::fabs(impact.peak) > std::fabs(last.peak))
      last.peak = impact.peak;
  }
  return merged;
}
