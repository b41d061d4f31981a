// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drives/CardDrives.h"

#include <string>
#include <vector>

// The text that the map page's "ShowDrives" reads: the tracks of the drives
// shown, each point with its recording (an index into the card's recordings)
// and its second, and the drive's events as pins at the moment their note
// gives. Numbers are written the same in every locale.
class OverviewMapJson {
public:
  static std::string Build(const CardDrives& card, const std::vector<size_t>& drives);
  // "#rrggbb" of the drive shown at `row`: the map's track and the table's
  // mark, the overview's legend.
  static std::string DriveColour(size_t row);
  // The second of an event recording its first note's "Date :" line names;
  // 0 without one or outside the recording.
  static uint32_t EventSecond(const RecordingSummary& recording);

private:
  static void AppendDrive(const CardDrives& card, size_t row, const CardDrives::Drive& drive, std::string& out);
  static void AppendPin(size_t index, const RecordingSummary& recording, std::string& out);
};
