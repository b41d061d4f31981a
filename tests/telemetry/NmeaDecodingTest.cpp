// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/NmeaDecoding.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::string mapText(float latitude, float longitude) {
  char text[64];
  std::snprintf(text, sizeof text, "%f, %f", latitude, longitude);
  return text;
}

// The map receives single-precision values cut to four decimals; rounding
// instead of cutting, or double precision, changes the printed digits.
TEST(NmeaToDegrees, GivesTheMapTheCutSinglePrecisionValues) {
  EXPECT_EQ(mapText(NmeaToDegrees("4807.0380", 'N'), NmeaToDegrees("01131.0000", 'E')), "48.117298, 11.516600");
  EXPECT_EQ(mapText(NmeaToDegrees("4807.0380", 'S'), NmeaToDegrees("01131.0000", 'W')), "-48.117298, -11.516600");
  EXPECT_FLOAT_EQ(NmeaToDegrees("3733.9999", 'N'), 37.5666f);
}

// 126 degrees 58.5 minutes is 126.974998 in single precision; a product
// rounded to single precision before the cut would give 126.975.
TEST(NmeaToDegrees, CutsTheExactProductNotARoundedOne) {
  EXPECT_EQ(mapText(NmeaToDegrees("4807.0380", 'N'), NmeaToDegrees("12658.5000", 'W')), "48.117298, -126.974899");
}

TEST(NmeaToDegrees, EmptyOrGarbageTextIsZeroWithoutOverflow) {
  EXPECT_EQ(NmeaToDegrees("", 'N'), 0.0f);
  EXPECT_EQ(NmeaToDegrees("abc", 'E'), 0.0f);
  // Would overflow an integer cut; must stay defined (checked under UBSan).
  NmeaToDegrees("9e99", 'N');
  NmeaToDegrees("nan", 'N');
}

// 1.8, not 1.852, and truncation at both steps; a float 1.8 makes 50 knots 89.
TEST(SpeedFieldToKmh, TruncatesKnotsThenKmh) {
  EXPECT_EQ(SpeedFieldToKmh("022."), 39);
  EXPECT_EQ(SpeedFieldToKmh("012."), 21);
  EXPECT_EQ(SpeedFieldToKmh("12.9"), 21);
  EXPECT_EQ(SpeedFieldToKmh("050."), 90);
  EXPECT_EQ(SpeedFieldToKmh("0"), 0);
  EXPECT_EQ(SpeedFieldToKmh(""), 0);
}

TEST(SpeedFieldToKmh, NumbersBeyondAnIntAreDefined) {
  EXPECT_EQ(SpeedFieldToKmh("9e99"), INT_MAX);
  EXPECT_EQ(SpeedFieldToKmh("-9e99"), INT_MIN);
  EXPECT_EQ(SpeedFieldToKmh("inf"), 0);
  EXPECT_EQ(SpeedFieldToKmh("nan"), 0);
}

TEST(CourseFieldToInt, TakesTheLeadingInteger) {
  EXPECT_EQ(CourseFieldToInt("084.4"), 84);
  EXPECT_EQ(CourseFieldToInt("359.9"), 359);
  EXPECT_EQ(CourseFieldToInt("  -12x"), -12);
  EXPECT_EQ(CourseFieldToInt("+7"), 7);
  EXPECT_EQ(CourseFieldToInt(".5"), 0);
  EXPECT_EQ(CourseFieldToInt(""), 0);
  EXPECT_EQ(CourseFieldToInt("99999999999999"), INT_MAX);
}

// Qt applications take the locale from the environment; in one with a decimal
// comma, a locale-bound reader would make 4807.0380 into 4807.
TEST(ReadDecimal, IgnoresTheProcessLocale) {
  char folder[] = "/tmp/lumenark-locale-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string build = std::string("localedef -i de_DE -f ISO-8859-1 ") + folder + "/de_DE >/dev/null 2>&1";
  const bool made = std::system(build.c_str()) == 0;
  setenv("LOCPATH", folder, 1);
  const bool switched = made && std::setlocale(LC_NUMERIC, "de_DE") != nullptr;
  const double value = ReadDecimal("4807.0380");
  const float degrees = NmeaToDegrees("4807.0380", 'N');
  std::setlocale(LC_NUMERIC, "C");
  unsetenv("LOCPATH");
  std::filesystem::remove_all(folder);
  if (!switched)
    GTEST_SKIP() << "cannot make a locale with a decimal comma";
  EXPECT_DOUBLE_EQ(value, 4807.038);
  EXPECT_FLOAT_EQ(degrees, 48.1173f);
}

} // namespace
