// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DrivingSettings.h"

#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

class DrivingSettingsFile : public testing::Test {
protected:
  void SetUp() override {
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(DrivingSettings::FilePath());
  }
  void TearDown() override { QFile::remove(DrivingSettings::FilePath()); }

  static void WriteFile(const char* text) {
    QFile file(DrivingSettings::FilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
};

} // namespace

TEST_F(DrivingSettingsFile, ChoicesAreKeptBetweenRuns) {
  DrivingSettings chosen;
  chosen.thresholds.brakingG = -0.55f;
  chosen.thresholds.impactG = 1.8f;
  chosen.mountedReversed = true;
  chosen.unit = SpeedUnit::Unit::kMph;
  chosen.Save();
  const DrivingSettings read = DrivingSettings::Load();
  EXPECT_FLOAT_EQ(read.thresholds.brakingG, -0.55f);
  EXPECT_FLOAT_EQ(read.thresholds.accelerationG, 0.35f);
  EXPECT_FLOAT_EQ(read.thresholds.impactG, 1.8f);
  EXPECT_TRUE(read.mountedReversed);
  EXPECT_EQ(read.unit, SpeedUnit::Unit::kMph);
}

// A hand-edited file: a value on the wrong side of zero, beyond the sensor,
// or no number at all reads as its default.
TEST_F(DrivingSettingsFile, OddValuesReadAsDefaults) {
  WriteFile("[harsh]\nbraking_g=0.5\nacceleration_g=3\ncornering_g=wide\nimpact_g=1.2\n"
            "[display]\nspeed_unit=knots\n");
  const DrivingSettings read = DrivingSettings::Load();
  EXPECT_FLOAT_EQ(read.thresholds.brakingG, -0.40f);
  EXPECT_FLOAT_EQ(read.thresholds.accelerationG, 0.35f);
  EXPECT_FLOAT_EQ(read.thresholds.corneringG, 0.40f);
  EXPECT_FLOAT_EQ(read.thresholds.impactG, 1.2f);
  EXPECT_EQ(read.unit, SpeedUnit::Unit::kKmh);
}
