// SPDX-License-Identifier: GPL-3.0-or-later
// GPS records are text from the card: any bytes must decode without reading or
// writing outside the record and without undefined conversions.
#include "telemetry/NmeaDecoding.h"
#include "telemetry/RmcFields.h"

#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  // A record as the engine copies it: not necessarily terminated.
  RmcFields fields;
  if (fields.ParseSentence(bytes, size)) {
    fields.Latitude();
    fields.Longitude();
    fields.SpeedKmh();
    fields.Course();
  }
  // Arbitrary text, terminated, straight into each step.
  const std::string text(bytes, size);
  fields.ParseRmcFields(text.c_str());
  NmeaToDegrees(text.c_str(), size ? text[0] : 'N');
  SpeedFieldToKmh(text.c_str());
  CourseFieldToInt(text.c_str());
  return 0;
}
