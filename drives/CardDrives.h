// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drives/RecordingSummary.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

// A card's recordings grouped into drives. Ordered by their start, a
// recording joins the drive before it when it starts no more than
// kJoinSeconds after that one's end. An event recording whose start lies
// inside a normal recording is a copy of a stretch the drive already plays:
// an event of that drive, not a recording to play. Any other event recording
// (the camera moved the minute into the event folder) fills its place.
// A recording that cannot be read ends its drive.
class CardDrives {
public:
  static constexpr int64_t kJoinSeconds = 10;
  // How far an event recording must start inside a normal one to be a copy.
  static constexpr double kCopyOverlapSeconds = 1.0;

  struct Drive {
    std::vector<size_t> recordings; // played in this order; indexes into Recordings()
    std::vector<size_t> events;     // its event recordings, played or copies, by start
    int64_t start = 0;
    int64_t end = 0;
    double distanceMetres = 0;
    int topSpeedKmh = 0;
    int harshMoments = 0; // of its played recordings: a copy's are already there
  };

  explicit CardDrives(std::vector<RecordingSummary> recordings);

  const std::vector<RecordingSummary>& Recordings() const { return m_recordings; }
  const std::vector<Drive>& Drives() const { return m_drives; }
  // Recordings with no time to place them by (their failure says why).
  const std::vector<size_t>& Unplaced() const { return m_unplaced; }
  // The recording played after `path` in its drive; empty after the drive's
  // last one, and for a path that is no played recording of the card.
  std::string NextRecording(const std::string& path) const;

private:
  // The normal recording whose span holds the start of recording `index`.
  std::optional<size_t> HoldingNormal(const std::vector<size_t>& normals, size_t index) const;
  void Group(const std::vector<size_t>& placed);
  void AddCopies(const std::vector<size_t>& copies, const std::vector<size_t>& normals);
  void Finish(Drive& drive) const;

  std::vector<RecordingSummary> m_recordings;
  std::vector<Drive> m_drives;
  std::vector<size_t> m_unplaced;
  std::map<size_t, size_t> m_driveOf; // played recording -> drive
};
