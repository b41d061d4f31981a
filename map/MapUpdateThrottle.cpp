// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/MapUpdateThrottle.h"

void MapUpdateThrottle::Start(bool connected) {
  m_nMapUpdateCount = 0;
  m_bPageLoaded = connected;
}

uint32_t MapUpdateThrottle::Interval(float speedLevel) {
  if (!(speedLevel >= 1.0f))
    return 5;
  if (speedLevel < kFastestLevel)
    return static_cast<uint32_t>(speedLevel * 5.0f);
  return static_cast<uint32_t>(speedLevel * 10.0f);
}

MapUpdateThrottle::Action MapUpdateThrottle::Step(bool connected, float speedLevel) {
  if (!connected)
    return Action::None;
  if (m_nMapUpdateCount < Interval(speedLevel)) {
    ++m_nMapUpdateCount;
    return Action::None;
  }
  if (!m_bPageLoaded) {
    m_bPageLoaded = true;
    return Action::NavigatePage;
  }
  // At the fastest level the marker could not keep up: count, never move.
  m_nMapUpdateCount = 0;
  return speedLevel < kFastestLevel ? Action::MoveMarker : Action::None;
}
