// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/CommandInbox.h"

void CommandInbox::push(PlayerCommand command) {
  {
    std::lock_guard lock(m_lock);
    m_commands.push_back(std::move(command));
  }
  m_changed.notify_one();
}

void CommandInbox::wake() {
  {
    std::lock_guard lock(m_lock);
    m_woken = true;
  }
  m_changed.notify_one();
}

std::vector<PlayerCommand> CommandInbox::wait(std::chrono::milliseconds timeout) {
  std::unique_lock lock(m_lock);
  m_changed.wait_for(lock, timeout, [this] { return m_woken || !m_commands.empty(); });
  m_woken = false;
  std::vector<PlayerCommand> taken(std::make_move_iterator(m_commands.begin()),
                                   std::make_move_iterator(m_commands.end()));
  m_commands.clear();
  return taken;
}

void CommandInbox::clear() {
  std::lock_guard lock(m_lock);
  m_commands.clear();
  m_woken = false;
}
