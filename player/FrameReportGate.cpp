// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/FrameReportGate.h"

#include <algorithm>

FrameReportGate::Turn::Turn(FrameReportGate& gate, uint64_t ticket, Waiting waiting) : m_gate(gate) {
  std::unique_lock lock(gate.m_lock);
  const auto stale = [&gate, ticket] { return ticket == 0 || ticket != gate.m_lastTicket; };
  if (waiting == Waiting::Yes)
    gate.m_turnEnded.wait(lock, [&gate, &stale] { return !gate.m_turnTaken || stale(); });
  if (gate.m_turnTaken || stale())
    return;
  gate.m_turnTaken = m_taken = true;
}

FrameReportGate::Turn::~Turn() {
  if (!m_taken)
    return;
  {
    std::lock_guard lock(m_gate.m_lock);
    m_gate.m_turnTaken = false;
  }
  m_gate.m_turnEnded.notify_all();
}

void FrameReportGate::hold(uint64_t rendersBegun) {
  std::lock_guard lock(m_lock);
  holdLocked(rendersBegun);
}

FrameReportGate::Report FrameReportGate::holdForEnd(uint64_t rendersBegun, double seconds, const uint8_t* image) {
  std::lock_guard lock(m_lock);
  holdLocked(rendersBegun);
  return issue(seconds, image);
}

// libmpv reports the restart once the render thread has taken the first new
// frame, possibly before that frame is drawn; the report waits for its image.
FrameReportGate::Report FrameReportGate::restart(double seconds, uint64_t rendersBegun) {
  std::lock_guard lock(m_lock);
  if (!m_held)
    return {};
  m_restartSeconds = seconds;
  const uint64_t render = std::max(rendersBegun, m_rendersAtHold + 1);
  if (m_lastRenderShown < render) {
    m_awaitedRender = render;
    return {};
  }
  m_held = false;
  return issue(m_restartSeconds, m_lastImageShown);
}

FrameReportGate::Report FrameReportGate::shown(uint64_t render, double seconds, const uint8_t* image) {
  std::lock_guard lock(m_lock);
  m_lastRenderShown = render;
  m_lastImageShown = image;
  if (m_held) {
    if (m_awaitedRender == 0 || render < m_awaitedRender)
      return {};
    m_held = false;
    m_awaitedRender = 0;
    seconds = m_restartSeconds;
  }
  return issue(seconds, image);
}

FrameReportGate::Report FrameReportGate::issue(double seconds, const uint8_t* image) {
  return Report{++m_lastTicket, seconds, image};
}

// A hold also draws a ticket, so that no report decided before it is delivered.
void FrameReportGate::holdLocked(uint64_t rendersBegun) {
  m_held = true;
  m_awaitedRender = 0;
  m_rendersAtHold = rendersBegun;
  ++m_lastTicket;
}
