// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PlayerContract.h"
#include "engine/QIRAAdap.h"

#include <QWidget>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

class QIRAState;

// The engine with the real player module, as the main window drives it: a
// main window that counts the engine's notifications, and a log of every
// event the module reports, taken on the way to the engine's own callback.
class EngineHarness {
public:
  struct Frame {
    uint32_t index;
    float seconds;
    std::array<uint8_t, 4> centre1; // blue, green, red, unused
    std::array<uint8_t, 4> centre2;
    bool sameImageBoth;
    std::chrono::steady_clock::time_point reportedAt;
  };

  class MainWindow : public QWidget {
  public:
    std::atomic<int> notifications{0};
    std::atomic<int> ends{0};

  protected:
    bool event(QEvent* event) override;
  };

  EngineHarness();
  ~EngineHarness();

  // OpenPlayer with "mplayer.dll", then the event log taps the callback.
  int openPlayer();
  QIRAState& state();
  int stateNumber() const;
  // Opens a recording as the main window does: temporary state, then LoadFile.
  int open(const std::string& path);
  int open(const std::string& path1, const std::string& path2);

  // Runs the GUI thread's events until the condition holds or time is up.
  static bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout);
  bool waitForState(int number, std::chrono::milliseconds timeout);
  bool waitForEvent(uint32_t code, size_t count, std::chrono::milliseconds timeout);

  size_t eventCount(uint32_t code) const;
  // The index of the last frame report the engine has taken in; -1 before any.
  // A position alone may name a frame whose report the engine has not taken yet.
  int64_t lastFrameTaken() const { return m_lastFrameTaken; }
  std::vector<uint32_t> events() const;
  std::vector<Frame> frames() const;
  // States entered so far, the first being the one at construction.
  std::vector<int> trail() const;
  void clearLog();
  // When the first event of that code came; the clock's epoch when none came.
  std::chrono::steady_clock::time_point firstEventAt(uint32_t code) const;

  MainWindow mainWindow;
  QIRAAdap adap{&mainWindow};

private:
  static void tap(void* context, intptr_t data, uint32_t code);
  void record(intptr_t data, uint32_t code);
  void noteState();
  void shutDown();

  static std::atomic<EngineHarness*> s_active;
  mutable std::mutex m_lock;
  std::vector<uint32_t> m_events;
  std::vector<std::pair<uint32_t, std::chrono::steady_clock::time_point>> m_timed;
  std::vector<Frame> m_frames;
  std::vector<int> m_trail;
  std::atomic<int64_t> m_lastFrameTaken{-1};
};
