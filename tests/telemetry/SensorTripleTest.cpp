// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/SensorTriple.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Records are little-endian whatever the box sizes are; reading them in host
// order would break on big-endian machines, reading big-endian everywhere.
TEST(SensorTriple, ReadsLittleEndianFloatsInRecordOrder) {
  const uint8_t record[12] = {0x00, 0x00, 0x00, 0x3F, 0x00, 0x00, 0x80, 0xBF, 0x00, 0x00, 0x00, 0x40};
  const SensorTriple triple = SensorTriple::FromRecord(record);
  EXPECT_EQ(triple.y, 0.5f);
  EXPECT_EQ(triple.x, -1.0f);
  EXPECT_EQ(triple.z, 2.0f);
}

TEST(SensorTriple, DisplayRangeIncludesItsLimitsAndRejectsNan) {
  EXPECT_TRUE((SensorTriple{2.0f, -2.0f, 0.0f}.InDisplayRange()));
  EXPECT_FALSE((SensorTriple{2.0001f, 0.0f, 0.0f}.InDisplayRange()));
  EXPECT_FALSE((SensorTriple{0.0f, 0.0f, -2.5f}.InDisplayRange()));
  EXPECT_FALSE((SensorTriple{0.0f, std::nanf(""), 0.0f}.InDisplayRange()));
}

} // namespace
