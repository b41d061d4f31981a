// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AutoResetEvent.h"

namespace platform {

void AutoResetEvent::set() {
  {
    std::lock_guard lock(m_mutex);
    m_signalled = true;
  }
  m_condition.notify_one();
}

void AutoResetEvent::reset() {
  std::lock_guard lock(m_mutex);
  m_signalled = false;
}

void AutoResetEvent::wait() {
  std::unique_lock lock(m_mutex);
  m_condition.wait(lock, [this] { return m_signalled; });
  m_signalled = false;
}

bool AutoResetEvent::waitFor(std::chrono::milliseconds timeout) {
  std::unique_lock lock(m_mutex);
  if (!m_condition.wait_for(lock, timeout, [this] { return m_signalled; }))
    return false;
  m_signalled = false;
  return true;
}

} // namespace platform
