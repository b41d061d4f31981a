// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/FixedDecimal.h"

#include <charconv>

char* FixedDecimal::WriteUnsigned(char* out, uint64_t value) { return std::to_chars(out, out + kMaxChars, value).ptr; }

// The exact value of the float, correctly rounded as printf rounds it, with a
// point as the decimal mark whatever the locale says.
char* FixedDecimal::WriteSixDecimals(char* out, float value) {
  return std::to_chars(out, out + kMaxChars, double(value), std::chars_format::fixed, 6).ptr;
}

std::string FixedDecimal::SixDecimals(float value) {
  char text[kMaxChars];
  return std::string(text, WriteSixDecimals(text, value));
}

std::string FixedDecimal::Decimals(double value, int decimals) {
  char text[kMaxChars];
  return std::string(text, std::to_chars(text, text + kMaxChars, value, std::chars_format::fixed, decimals).ptr);
}
