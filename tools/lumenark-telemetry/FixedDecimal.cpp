// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/lumenark-telemetry/FixedDecimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

constexpr int64_t kMillionths = 1000000;
// Below this the scaled value and its rounding are exact in a double.
constexpr double kExactLimit = 9.0e15;

} // namespace

char* FixedDecimal::WriteUnsigned(char* out, uint64_t value) { return std::to_chars(out, out + kMaxChars, value).ptr; }

char* FixedDecimal::WriteSixDecimals(char* out, float value) {
  // A float has 24 significant bits and 10^6 needs 14 more, so the product is
  // exact; rounding it half to even is what printf does with the exact value.
  const double scaled = double(value) * double(kMillionths);
  if (!(std::fabs(scaled) < kExactLimit)) {
    const int length = std::snprintf(out, kMaxChars, "%.6f", double(value));
    return out + std::clamp(length, 0, int(kMaxChars) - 1);
  }
  const double magnitude = std::fabs(scaled);
  auto millionths = static_cast<int64_t>(magnitude);
  const double fraction = magnitude - double(millionths); // exact
  if (fraction > 0.5 || (fraction == 0.5 && (millionths & 1) != 0))
    ++millionths;
  if (std::signbit(value))
    *out++ = '-';
  out = WriteUnsigned(out, uint64_t(millionths / kMillionths));
  *out = '.';
  int64_t rest = millionths % kMillionths;
  for (int digit = 6; digit > 0; --digit, rest /= 10)
    out[digit] = char('0' + rest % 10);
  return out + 7;
}
