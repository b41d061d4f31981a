// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/NmeaDecoding.h"

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace {

bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Skips the blanks and the sign; returns -1 or +1.
int skipBlanksAndSign(const char*& text) {
  while (isBlank(*text))
    ++text;
  if (*text == '-' || *text == '+')
    return *text++ == '-' ? -1 : 1;
  return 1;
}

int clampToInt(double value) {
  if (!std::isfinite(value))
    return 0;
  if (value >= double(INT_MAX))
    return INT_MAX;
  if (value <= double(INT_MIN))
    return INT_MIN;
  return static_cast<int>(value);
}

} // namespace

double ReadDecimal(const char* text) {
  // The C locale's decimal point, whatever the program's locale says.
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
  return strtod_l(text, nullptr, cLocale);
}

float NmeaToDegrees(const char* text, char hemisphere) {
  const float v = static_cast<float>(ReadDecimal(text) / 100.0);
  const float degrees = std::trunc(v);
  const float minutesPerHundred = v - degrees;
  const float r = degrees + minutesPerHundred * 100.0f / 60.0f;
  // The product in double is exact, so the cut never rounds up first (a
  // single-precision product turns 126.974998 into 1269750). trunc, not a
  // cast to an integer: a garbage field must not overflow.
  const float cut = static_cast<float>(std::trunc(double(r) * 10000.0) / 10000.0);
  return hemisphere == 'S' || hemisphere == 'W' ? -cut : cut;
}

int SpeedFieldToKmh(const char* text) {
  const double knots = std::trunc(ReadDecimal(text));
  return clampToInt(std::trunc(knots * 1.8));
}

int CourseFieldToInt(const char* text) {
  const int sign = skipBlanksAndSign(text);
  long long value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    value = value * 10 + (*text - '0');
    if (value > INT_MAX)
      return sign < 0 ? INT_MIN : INT_MAX;
  }
  return static_cast<int>(sign * value);
}
