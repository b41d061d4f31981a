// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

// Decides when channel 1's renders are reported to the engine, and keeps
// the reports of the render thread and the player thread in order without
// holding a lock while the engine is called.
//
// Reports are held from a seek or load until channel 1's image shows the new
// place (until then the position already tells the target while the image is
// still the old one), and after a recording ended. Each due report and each
// hold draws the next ticket; a report is delivered only during a turn, and a
// turn whose ticket is no longer the newest one delivers nothing, so a report
// decided before a hold never reaches the engine after the hold's own report.
class FrameReportGate {
public:
  struct Report {
    uint64_t ticket = 0; // 0: no report is due
    double seconds = 0.0;
    const uint8_t* image = nullptr;
    explicit operator bool() const { return ticket != 0; }
  };

  // The render thread must not wait for the player thread's engine calls; it
  // skips its report instead, which the next render replaces.
  enum class Waiting { No, Yes };

  // The right to deliver one report: one turn runs at a time, and only for
  // the newest ticket. Waiting, it is given up as soon as the ticket is stale.
  class Turn {
  public:
    Turn(FrameReportGate& gate, uint64_t ticket, Waiting waiting);
    ~Turn();
    Turn(const Turn&) = delete;
    Turn& operator=(const Turn&) = delete;
    // The turn runs: no report or hold came after its ticket.
    bool taken() const { return m_taken; }

  private:
    FrameReportGate& m_gate;
    bool m_taken = false;
  };

  // A seek, load or frame step: renders begun so far show the old place.
  void hold(uint64_t rendersBegun);
  // The end of a recording: holds, and the end's own report is due.
  Report holdForEnd(uint64_t rendersBegun, double seconds, const uint8_t* image);
  // libmpv restarted playback at `seconds`; due at once, with the last image
  // shown, when the render showing the new place was already shown.
  Report restart(double seconds, uint64_t rendersBegun);
  // Render `render` was shown as `image` while the position was `seconds`.
  Report shown(uint64_t render, double seconds, const uint8_t* image);

private:
  // Under m_lock.
  Report issue(double seconds, const uint8_t* image);
  void holdLocked(uint64_t rendersBegun);

  std::mutex m_lock;
  std::condition_variable m_turnEnded;
  bool m_held = false;
  uint64_t m_rendersAtHold = 0;
  // The render whose image ends the hold; 0 until libmpv restarted playback.
  uint64_t m_awaitedRender = 0;
  // Where playback restarted: the moment of the awaited render's image.
  double m_restartSeconds = 0.0;
  uint64_t m_lastRenderShown = 0;
  const uint8_t* m_lastImageShown = nullptr;
  uint64_t m_lastTicket = 0;
  bool m_turnTaken = false;
};
