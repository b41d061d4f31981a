// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/CommandInbox.h"

#include <utility>

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

CommandInbox::Batch CommandInbox::wait(std::chrono::milliseconds timeout) {
  std::unique_lock lock(m_lock);
  m_changed.wait_for(lock, timeout, [this] { return m_woken || !m_commands.empty(); });
  Batch batch;
  batch.woken = std::exchange(m_woken, false);
  batch.commands.assign(std::make_move_iterator(m_commands.begin()), std::make_move_iterator(m_commands.end()));
  m_commands.clear();
  return batch;
}

void CommandInbox::clear() {
  std::lock_guard lock(m_lock);
  m_commands.clear();
  m_woken = false;
}
