// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/lumenark-telemetry/FixedDecimal.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

constexpr int64_t kMillionths = 1000000;
// Below this the scaled value and its rounding are exact in a double.
constexpr double kExactLimit = 9.0e15;

} // namespace

void FixedDecimal::AppendUnsigned(std::string& out, uint64_t value) {
  char text[24];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  out.append(text, end);
}

void FixedDecimal::AppendSixDecimals(std::string& out, float value) {
  // A float has 24 significant bits and 10^6 needs 14 more, so the product is
  // exact; rounding it half to even is what printf does with the exact value.
  const double scaled = double(value) * double(kMillionths);
  if (!(std::fabs(scaled) < kExactLimit)) {
    char text[64];
    const int length = std::snprintf(text, sizeof text, "%.6f", double(value));
    out.append(text, size_t(std::max(length, 0)));
    return;
  }
  const auto millionths = static_cast<int64_t>(std::fabs(std::nearbyint(scaled)));
  if (std::signbit(value))
    out += '-';
  AppendUnsigned(out, uint64_t(millionths / kMillionths));
  char fraction[8] = {'.', '0', '0', '0', '0', '0', '0', '\0'};
  for (int64_t rest = millionths % kMillionths, digit = 6; rest > 0; rest /= 10, --digit)
    fraction[digit] = char('0' + rest % 10);
  out.append(fraction, 7);
}
