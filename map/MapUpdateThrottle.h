// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The throttle between the telemetry notifications and the map: it counts
// connected notifications and says when the page is due to be requested or
// the marker to be moved, at a rate that follows the speed level.
class MapUpdateThrottle {
public:
  enum class Action {
    None,         // nothing to do for this notification
    NavigatePage, // request the map page (it was not reachable at start-up)
    MoveMarker,   // call "SetGpsLatLon" with the position
  };

  // Start-up: the counter at 0, the page counted as loaded when the
  // connection check passed.
  void Start(bool connected);
  Action Step(bool connected, float speedLevel);
  // A page that failed to load is requested again on the next due step.
  void ForgetPage() { m_bPageLoaded = false; }

  // Notifications counted between two moves: 5 below level 1, level x 5
  // below level 3, level x 10 from level 3 (truncated).
  static uint32_t Interval(float speedLevel);

  uint32_t Counter() const { return m_nMapUpdateCount; }
  bool PageLoaded() const { return m_bPageLoaded; }

private:
  static constexpr float kFastestLevel = 3.0f;

  uint32_t m_nMapUpdateCount = 0;
  bool m_bPageLoaded = false;
};
