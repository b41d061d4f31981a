// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/WindowMessage.h"

#include <QObject>
#include <functional>
#include <mutex>
#include <vector>

namespace testing_support {

// A window that records every message it receives, with the thread it came on.
class MessageRecorder : public QObject {
public:
  struct Message {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
  };

  std::vector<Message> messages() const;
  std::vector<Message> messages(uint32_t message) const;
  void clear();
  // The answer given to messages (SendMessage's result).
  void setResult(intptr_t result) { m_result = result; }

protected:
  bool event(QEvent* event) override;

private:
  mutable std::mutex m_mutex;
  std::vector<Message> m_messages;
  intptr_t m_result = 1;
};

// Processes events until `done` holds or the time runs out; returns `done()`.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000);

} // namespace testing_support
