// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

class ClipSource;

// The telemetry area of a clip: for each of its pictures the "TIME", "GPSI"
// and "SENS" records of the source picture it came from, the times rebased to
// the clip's start. A private clip keeps every GPS record empty, so that it
// holds no position while its area still reads as whole.
class ClipTelemetry {
public:
  explicit ClipTelemetry(bool withPositions) : m_withPositions(withPositions) {}

  // The records of `source`'s `position`, the clip's next picture, shown
  // `clipMicroseconds` after the clip's start.
  void Add(const ClipSource& source, uint32_t position, int64_t clipMicroseconds);
  // The whole "udat" box; empty when no source had telemetry.
  std::vector<uint8_t> Area() const;
  bool Any() const { return m_any; }

private:
  void AddTime(const ClipSource& source, uint32_t position, int64_t clipMilliseconds);

  bool m_withPositions;
  bool m_any = false;
  const ClipSource* m_source = nullptr;
  // Added to a source's time records: where its first picture lies in the clip.
  int64_t m_timeShift = 0;
  std::vector<uint8_t> m_time;
  std::vector<uint8_t> m_gps;
  std::vector<uint8_t> m_sensors;
};
