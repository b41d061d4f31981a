// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DrivingSettings.h"

#include "app/SettingsFile.h"

#include "telemetry/RecordingTelemetry.h"

#include <QSettings>
#include <QStandardPaths>
#include <cmath>

namespace {

// Each threshold with the side of zero it must stay on and its key.
struct ThresholdKey {
  const char* key;
  float HarshMomentDetector::Thresholds::*value;
  float sign;
};

constexpr ThresholdKey kThresholdKeys[] = {
    {"harsh/braking_g", &HarshMomentDetector::Thresholds::brakingG, -1.0f},
    {"harsh/acceleration_g", &HarshMomentDetector::Thresholds::accelerationG, 1.0f},
    {"harsh/cornering_g", &HarshMomentDetector::Thresholds::corneringG, 1.0f},
    {"harsh/impact_g", &HarshMomentDetector::Thresholds::impactG, 1.0f},
};
constexpr char kReversedKey[] = "harsh/mounted_reversed";
constexpr char kUnitKey[] = "display/speed_unit";
// A sensor reads -2..+2 g: a threshold beyond it could never be met.
constexpr float kLargestThresholdG = 2.0f;

} // namespace

QString DrivingSettings::FilePath() { return SettingsFile::Path(); }

DrivingSettings DrivingSettings::Load() {
  const QSettings stored(FilePath(), QSettings::IniFormat);
  DrivingSettings settings;
  for (const ThresholdKey& key : kThresholdKeys) {
    bool ok = false;
    const float value = stored.value(key.key).toFloat(&ok);
    if (ok && std::isfinite(value) && value * key.sign > 0.0f && std::fabs(value) <= kLargestThresholdG)
      settings.thresholds.*key.value = value;
  }
  settings.mountedReversed = stored.value(kReversedKey, false).toBool();
  settings.unit = SpeedUnit::FromName(stored.value(kUnitKey).toString().toStdString()).value_or(settings.unit);
  return settings;
}

void DrivingSettings::Save() const {
  QSettings stored(FilePath(), QSettings::IniFormat);
  for (const ThresholdKey& key : kThresholdKeys)
    stored.setValue(key.key, double(thresholds.*key.value));
  stored.setValue(kReversedKey, mountedReversed);
  stored.setValue(kUnitKey, QString::fromLatin1(SpeedUnit::Name(unit)));
}

std::vector<HarshMomentDetector::Moment> DrivingSettings::HarshMomentsOf(const std::string& path) const {
  RecordingTelemetry telemetry;
  if (telemetry.Load(path) != 0 || !(telemetry.FrameRate() > 0.0))
    return {};
  std::vector<SensorTriple> values = telemetry.SensorValues();
  if (mountedReversed)
    for (SensorTriple& value : values) {
      value.y = -value.y;
      value.x = -value.x;
    }
  return HarshMomentDetector(telemetry.FrameRate(), thresholds).Detect(values);
}
