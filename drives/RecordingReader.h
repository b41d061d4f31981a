// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drives/HarshSettings.h"
#include "drives/RecordingSummary.h"

class RecordingTelemetry;

// Reads one recording's summary: its start from the name's stamp (else its
// first GPS time), its length from the movie header, its track from the
// user-data area. Only regular files are read, each part bounded by what it
// needs, its harsh moments counted under `harsh`. A recording without
// telemetry still has a length; one without a length or a start gets a
// failure (and still its stamp's start).
class RecordingReader {
public:
  static RecordingSummary Read(const std::string& path, const HarshSettings& harsh);

private:
  static void ReadTrack(const RecordingTelemetry& telemetry, RecordingSummary& summary);
  // `telemetry` may be none: the recording could not be read.
  static void ReadStart(const RecordingTelemetry* telemetry, RecordingSummary& summary);
};
