// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/SensorTriple.h"

#include <cstring>

namespace {

float littleEndianFloat(const uint8_t* bytes) {
  const uint32_t bits =
      uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

bool inLimit(float value) { return value >= -SensorTriple::kDisplayLimit && value <= SensorTriple::kDisplayLimit; }

} // namespace

SensorTriple SensorTriple::FromRecord(const uint8_t* record) {
  return SensorTriple{littleEndianFloat(record), littleEndianFloat(record + 4), littleEndianFloat(record + 8)};
}

bool SensorTriple::InDisplayRange() const { return inLimit(y) && inLimit(x) && inLimit(z); }
