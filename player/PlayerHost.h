// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PlayerContract.h"
#include "player/CommandInbox.h"
#include "player/FrameStore.h"
#include "player/VideoWindowPair.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

// What outlives one player run inside the loaded module: the engine's context
// and callback, the stop flag, the command inbox, the frame images and the
// video windows. The module stays mapped after the engine releases it, so a
// later load starts again from "setInst" and "setW".
class PlayerHost {
public:
  static PlayerHost& instance();

  void setContext(void* context);
  // Registers the engine's callback and reports that the module is ready.
  void setCallback(player::Callback callback);

  void report(uint32_t code, intptr_t data = 0) const;
  template <typename T> T query(uint32_t code, T fallback) const {
    T value = fallback;
    report(code, reinterpret_cast<intptr_t>(&value));
    return value;
  }
  // A diagnostic line through the engine (event 12).
  void diagnostic(const std::string& text) const;

  // Any thread. Parses a text command for the running player; an unknown or
  // malformed one, or one while no player runs, only gives a diagnostic.
  void submitText(const char* text);
  void submit(PlayerCommand command);

  // False when a run is already going on.
  bool beginRun();
  void endRun();
  bool quitPending() const { return m_quitPending; }
  // The user's choice, kept for later runs: a hardware decoder where the
  // machine has one (on by default), or software only.
  bool hardwareDecoding() const { return m_hardwareDecoding; }

  player::StopFlag& stopFlag() { return m_stopFlag; }
  CommandInbox& inbox() { return m_inbox; }
  FrameStore& frames();
  VideoWindowPair& windows() { return m_windows; }

private:
  PlayerHost() = default;

  std::atomic<void*> m_context{nullptr};
  std::atomic<player::Callback> m_callback{nullptr};
  player::StopFlag m_stopFlag{0};
  std::atomic<bool> m_running{false};
  std::atomic<bool> m_quitPending{false};
  std::atomic<bool> m_hardwareDecoding{true};
  CommandInbox m_inbox;
  std::once_flag m_framesMade;
  std::unique_ptr<FrameStore> m_frames;
  VideoWindowPair m_windows;
};
