// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/make-sample-card/RecordingOptions.h"

#include <string>
#include <vector>

// Writes a card tree: "NormalMovie/" and "EventMovie/" with recordings named
// "drf0_" + stamp + ".mp4", and "Event/" with an event text file per event
// recording whose "Date :" line gives the time of its hard brake.
class CardWriter {
public:
  struct Recording {
    bool event = false;
    int seconds = 60;
    // Cut short as by a power loss (Fault::PowerCut at its default share).
    bool powerCut = false;
  };

  // Drives of normal recordings back to back, their telemetry continuous
  // across the cuts, with gapSeconds between drives.
  struct DriveLayout {
    int drives = 1;
    int recordingsPerDrive = 2;
    int gapSeconds = 600;
    int eventCopies = 0; // event recordings copying the hard brake of the first drives
  };

  explicit CardWriter(std::string root);

  // The recordings one after the other from base.start, each with its own
  // seed derived from base.seed.
  void Write(const RecordingOptions& base, const std::vector<Recording>& recordings) const;
  // Drives from base.start; each drive's seed is derived from base.seed.
  void WriteDrives(const RecordingOptions& base, const DriveLayout& layout) const;
  // The demo card of the viewer.
  void WriteDemo() const;

private:
  void MakeFolders() const;
  // A copy of the stretch around the drive's hard brake, as a camera that
  // keeps its normal recording writes it to the event folder.
  void WriteEventCopy(const RecordingOptions& drive, int index) const;
  void WriteEventNote(const std::string& prefix, const Stamp& stamp, const Stamp& eventTime) const;

  std::string m_root;
};
