// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

// Number formatting for exports of many rows, with printf's exact results.
class FixedDecimal {
public:
  // The text of printf("%.6f", value).
  static void AppendSixDecimals(std::string& out, float value);
  static void AppendUnsigned(std::string& out, uint64_t value);
};
