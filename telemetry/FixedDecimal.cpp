// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/FixedDecimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

constexpr int64_t kMillionths = 1000000;
// Below this the scaled value and its rounding are exact in a double.
constexpr double kExactLimit = 9.0e15;

constexpr char kDigitPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                               "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                               "8081828384858687888990919293949596979899";

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
  auto rest = static_cast<uint32_t>(millionths % kMillionths);
  for (int pair = 5; pair > 0; pair -= 2, rest /= 100) {
    out[pair] = kDigitPairs[2 * (rest % 100)];
    out[pair + 1] = kDigitPairs[2 * (rest % 100) + 1];
  }
  return out + 7;
}
