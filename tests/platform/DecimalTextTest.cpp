// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers in command texts and files, written and read with a point whatever
// the process's numeric locale.
#include "platform/DecimalText.h"
#include "tests/support/ScopedLocale.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>

namespace {

using platform::fixedDecimal;
using platform::parseDecimal;
using testing_support::kDecimalCommaLocale;
using testing_support::ScopedLocale;

std::string printed(double value, int decimals) {
  char text[512];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// The texts must stay those printf gives in the C locale (the module and the
// export formats read them), also under a decimal-comma locale.
TEST(DecimalText, WritesWhatPrintfWritesInTheCLocale) {
  const double values[] = {0.0,
                           -0.0,
                           2.0,
                           -1.0,
                           0.125,
                           0.375,
                           2.675,
                           1e-9,
                           -75.255,
                           48.1173,
                           3.4e38,
                           1.7e308,
                           std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()};
  for (const int decimals : {0, 1, 2, 3, 6}) {
    for (const double value : values) {
      const std::string expected = printed(value, decimals);
      ScopedLocale numbers(LC_NUMERIC, kDecimalCommaLocale);
      ASSERT_TRUE(numbers.switched()) << "scripts/install-deps generates " << kDecimalCommaLocale;
      EXPECT_EQ(fixedDecimal(value, decimals), expected) << expected;
    }
  }
}

TEST(DecimalText, ReadsOnlyWholeFiniteNumbersWithAPoint) {
  ScopedLocale numbers(LC_NUMERIC, kDecimalCommaLocale);
  ASSERT_TRUE(numbers.switched()) << "scripts/install-deps generates " << kDecimalCommaLocale;
  const std::pair<const char*, double> numbersRead[] = {{"2.50", 2.5}, {"-0.75", -0.75}, {"+3", 3.0},
                                                        {"75", 75.0},  {"1e2", 100.0},   {".5", 0.5}};
  for (const auto& [text, value] : numbersRead)
    EXPECT_EQ(parseDecimal(text), value) << text;
  for (const char* text : {"", "+", "2,50", "2.5x", " 2", "+-1", "inf", "nan", "1e999", "0x10", "--1"})
    EXPECT_FALSE(parseDecimal(text).has_value()) << text;
}

} // namespace
