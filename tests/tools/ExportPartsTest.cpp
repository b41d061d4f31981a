// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/FixedDecimal.h"
#include "telemetry/Track.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

std::string printed(float value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.6f", value);
  return text;
}

std::string fast(float value) {
  char text[FixedDecimal::kMaxChars];
  return std::string(text, FixedDecimal::WriteSixDecimals(text, value));
}

// The CSV promises printf's "%.6f"; the fast path must agree to the last
// digit, ties and signs of zero included.
TEST(FixedDecimal, MatchesPrintfSixDecimals) {
  for (const float value : {0.0f, -0.0f, 1.0f, -1.0f, 0.5f, -1.9999999f, 2.0000005f, 1e-7f, -1e-7f, 4.5e-7f, 0.0000005f,
                            123456.789f, 3e9f, 1e20f, -1e30f, std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::denorm_min()})
    EXPECT_EQ(fast(value), printed(value)) << printed(value);
  uint32_t bits = 12345;
  for (int i = 0; i < 200000; ++i) {
    bits = bits * 1664525u + 1013904223u;
    float value;
    const uint32_t smallish = (bits & 0x807FFFFFu) | (uint32_t(100 + bits % 60) << 23);
    std::memcpy(&value, &smallish, sizeof value);
    ASSERT_EQ(fast(value), printed(value)) << printed(value);
  }
}

TEST(TrackTime, JoinsTimeAndDateAsUtc) {
  EXPECT_EQ(Track::IsoTime("093200.00", "140626"), "2026-06-14T09:32:00.00Z");
  EXPECT_EQ(Track::IsoTime("235959", "311299"), "1999-12-31T23:59:59Z");
}

// A malformed time must drop the <time>, not produce an invalid document.
TEST(TrackTime, MalformedFieldsGiveNoTime) {
  EXPECT_EQ(Track::IsoTime("", "140626"), "");
  EXPECT_EQ(Track::IsoTime("093200", ""), "");
  EXPECT_EQ(Track::IsoTime("253200", "140626"), "");
  EXPECT_EQ(Track::IsoTime("093200", "141326"), "");
  EXPECT_EQ(Track::IsoTime("093200.", "140626"), "");
  EXPECT_EQ(Track::IsoTime("0932x0", "140626"), "");
  EXPECT_EQ(Track::IsoTime("093200.0<", "140626"), "");
  EXPECT_EQ(Track::IsoTime("093200.0123456789", "140626"), "");
}

} // namespace
