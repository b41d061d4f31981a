// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>
#include <cstring>
#include <string>

// The pictures the player module dropped to keep time, from its diagnostic
// line at a recording's end; 0 without one.
inline long DroppedPictures(const std::string& diagnostics) {
  constexpr const char* kPrefix = "player: dropped ";
  const size_t at = diagnostics.find(kPrefix);
  return at == std::string::npos ? 0 : std::strtol(diagnostics.c_str() + at + std::strlen(kPrefix), nullptr, 10);
}
