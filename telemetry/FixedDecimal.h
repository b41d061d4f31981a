// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Number formatting for exports of many rows, with printf's exact results in
// the C locale, whatever the process locale is.
class FixedDecimal {
public:
  // Room enough for any float with six decimals, sign and terminator.
  static constexpr size_t kMaxChars = 64;

  // Writes the text of printf("%.6f", value) at `out` (kMaxChars bytes of
  // room) and returns the end of it; no terminator.
  static char* WriteSixDecimals(char* out, float value);
  static std::string SixDecimals(float value);
  // printf("%.*f", decimals, value) in the C locale, for short texts.
  static std::string Decimals(double value, int decimals);
  // Same contract for a decimal unsigned number.
  static char* WriteUnsigned(char* out, uint64_t value);
};
