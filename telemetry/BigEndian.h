// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

inline uint32_t readBigEndian32(const uint8_t* bytes) {
  return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | uint32_t{bytes[3]};
}

inline uint64_t readBigEndian64(const uint8_t* bytes) {
  return uint64_t{readBigEndian32(bytes)} << 32 | readBigEndian32(bytes + 4);
}
