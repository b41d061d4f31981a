// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "player/PlayerCommand.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

// Commands for the running player from any thread, and the wake-ups of its
// decoders. Pushing never waits for the player.
class CommandInbox {
public:
  void push(PlayerCommand command);
  // Wakes the waiting player without a command (libmpv has events).
  void wake();
  struct Batch {
    std::vector<PlayerCommand> commands;
    bool woken = false; // libmpv has events
  };
  // Waits until a command or wake-up arrives or the timeout passes, then
  // takes every pending command.
  Batch wait(std::chrono::milliseconds timeout);
  void clear();

private:
  std::mutex m_lock;
  std::condition_variable m_changed;
  std::deque<PlayerCommand> m_commands;
  bool m_woken = false;
};
