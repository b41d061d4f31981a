// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The three values of a sensor record: IEEE 754 single-precision numbers in
// little-endian byte order, labelled Y, X and Z by the display in that order.
struct SensorTriple {
  static constexpr float kDisplayLimit = 2.0f;

  float y = 0.0f;
  float x = 0.0f;
  float z = 0.0f;

  // From the 12 bytes of a record, on any host byte order.
  static SensorTriple FromRecord(const uint8_t* record);
  // All three within -2..+2, limits included; the display ignores other triples.
  bool InDisplayRange() const;
};
