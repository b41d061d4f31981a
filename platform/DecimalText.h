// SPDX-License-Identifier: GPL-3.0-or-later
// Decimal numbers as text with a point whatever the process's locale: command
// texts, diagnostics and exported files are read by programs, not people.
// Header-only and free of Qt, so the player module and the tools use it too.
#pragma once

#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The text printf("%.*f", decimals, value) gives in the C locale, for up to
// 100 decimals.
inline std::string fixedDecimal(double value, int decimals) {
  char text[512]; // room for a double's 309 whole digits, sign, point and decimals
  const std::to_chars_result end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  return end.ec == std::errc() ? std::string(text, end.ptr) : std::string();
}

// The whole text read as a finite decimal number (an optional sign, digits,
// point, exponent), as strtod reads it in the C locale; nothing otherwise.
inline std::optional<double> parseDecimal(std::string_view text) {
  if (text.size() > 1 && text[0] == '+' && text[1] != '-')
    text.remove_prefix(1);
  double value = 0.0;
  const std::from_chars_result end = std::from_chars(text.data(), text.data() + text.size(), value);
  if (end.ec != std::errc() || end.ptr != text.data() + text.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

} // namespace platform
