// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/RmcFields.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr char kSentence[] = "$GPRMC,123519.00,A,4807.0380,N,01131.0000,E,022.4,084.4,230394,,*6A";

RmcFields parsed(const std::string& sentence) {
  RmcFields fields;
  fields.ParseSentence(sentence.c_str(), sentence.size() + 1);
  return fields;
}

TEST(RmcFields, DecodesTheReferenceSentence) {
  const RmcFields fields = parsed(kSentence);
  EXPECT_STREQ(fields.Time(), "123519.00");
  EXPECT_STREQ(fields.Status(), "A");
  EXPECT_FLOAT_EQ(fields.Latitude(), 48.1173f);
  EXPECT_FLOAT_EQ(fields.Longitude(), 11.5166f);
  EXPECT_STREQ(fields.SpeedText(), "022.");
  EXPECT_EQ(fields.SpeedKmh(), 39);
  EXPECT_EQ(fields.Course(), 84);
}

TEST(RmcFields, CutsEachFieldToItsWidth) {
  const RmcFields fields = parsed("$GPRMC,123519.0001,A,3733.99999,N,012713.00001,E,012.5,0084.49,230394,,*00");
  EXPECT_STREQ(fields.Time(), "123519.000");
  EXPECT_STREQ(fields.LatitudeText(), "3733.9999");
  EXPECT_FLOAT_EQ(fields.Latitude(), 37.5666f);
  EXPECT_STREQ(fields.LongitudeText(), "012713.000");
  EXPECT_EQ(fields.SpeedKmh(), 21);
  EXPECT_STREQ(fields.CourseText(), "0084.");
}

// A field longer than the 12-character scratch must be cut, not overflow it
// (the AddressSanitizer build catches an overflow).
TEST(RmcFields, LongFieldIsCutToTheScratch) {
  RmcFields fields;
  fields.ParseRmcFields("1,A,48070380123456789012345678901234567890,N,");
  EXPECT_STREQ(fields.LatitudeText(), "480703801");
  EXPECT_EQ(fields.NorthSouth(), 'N');
}

TEST(RmcFields, StatusVWithEmptyPositionGivesZero) {
  const RmcFields fields = parsed("$GPRMC,093200.00,V,,,,,,,140626,,,N*49");
  EXPECT_STREQ(fields.Status(), "V");
  EXPECT_EQ(fields.Latitude(), 0.0f);
  EXPECT_EQ(fields.Longitude(), 0.0f);
  EXPECT_EQ(fields.SpeedKmh(), 0);
}

// Only what the display copies (71 characters) is parsed, and a field is kept
// only when its comma is met, so a long sentence loses the field it is cut in.
TEST(RmcFields, SentenceIsCutAtTheDisplayCopy) {
  const std::string longTime(32, '1');
  const RmcFields fields = parsed("$GPRMC," + longTime + ",A,4807.0380,N,01131.0000,E,022.4,084.4,230394,,*00");
  EXPECT_STREQ(fields.LongitudeText(), "01131.0000");
  EXPECT_STREQ(fields.SpeedText(), "");
  RmcFields lastField;
  lastField.ParseRmcFields("1,A,4807.0380");
  EXPECT_STREQ(lastField.LatitudeText(), "");
}

TEST(RmcFields, StopsAfterTheTenthComma) {
  RmcFields fields;
  fields.ParseRmcFields("0,A,1,N,2,E,3,4,5,6,7,8,9,10,11");
  EXPECT_STREQ(fields.CourseText(), "4");
  EXPECT_STREQ(fields.Time(), "0");
}

TEST(RmcFields, OtherSentencesLeaveTheFieldsEmpty) {
  RmcFields fields = parsed(kSentence);
  const std::string other = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";
  EXPECT_FALSE(fields.ParseSentence(other.c_str(), other.size()));
  EXPECT_STREQ(fields.LatitudeText(), "");
  EXPECT_FALSE(fields.ParseSentence("$GPRM", 6));
}

// A 76-byte record need not hold a terminator; the copy stops at its length.
TEST(RmcFields, RecordWithoutTerminatorIsReadWithinItsLength) {
  std::string record(kSentence);
  record.resize(76, 'x');
  RmcFields fields;
  EXPECT_TRUE(fields.ParseSentence(record.data(), 76));
  EXPECT_EQ(fields.Course(), 84);
}

} // namespace
