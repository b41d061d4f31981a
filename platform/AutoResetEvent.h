// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace platform {

// An event that releases one waiter and then resets itself.
class AutoResetEvent {
public:
  void set();
  void reset();
  void wait();
  // False when the time ran out before the event was set.
  bool waitFor(std::chrono::milliseconds timeout);

private:
  std::mutex m_mutex;
  std::condition_variable m_condition;
  bool m_signalled = false;
};

} // namespace platform
