// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the drives and the card overview need of one recording: when it runs,
// its track at one GPS record per second, and its figures.
struct RecordingSummary {
  struct Point {
    uint32_t second = 0; // from the recording's start
    double latitude = 0;
    double longitude = 0;
    int speedKmh = 0;
  };

  std::string path;
  bool event = false;  // from the card's event recordings folder
  std::string failure; // why it cannot be read; empty when it can
  bool hasStart = false;
  int64_t start = 0; // camera clock, seconds since 1970
  double durationSeconds = 0;
  int telemetryCode = 0; // the user-data area's load code; no track without 0
  std::vector<Point> track;
  int topSpeedKmh = 0;
  double distanceMetres = 0;
  int harshMoments = 0; // found from the G-sensor under the index's settings
  // The "Date :" lines of an event recording's event notes.
  std::vector<std::string> eventNotes;

  bool Readable() const { return failure.empty(); }
  int64_t End() const { return start + int64_t(durationSeconds + 0.5); }
};
