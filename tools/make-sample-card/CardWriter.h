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

  explicit CardWriter(std::string root);

  // The recordings one after the other from base.start, each with its own
  // seed derived from base.seed.
  void Write(const RecordingOptions& base, const std::vector<Recording>& recordings) const;
  // The demo card of the viewer.
  void WriteDemo() const;

private:
  void WriteEventNote(const std::string& prefix, const Stamp& stamp, const Stamp& eventTime) const;

  std::string m_root;
};
