// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/MessageRecorder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace testing_support {

std::vector<MessageRecorder::Message> MessageRecorder::messages() const {
  std::lock_guard lock(m_mutex);
  return m_messages;
}

std::vector<MessageRecorder::Message> MessageRecorder::messages(uint32_t message) const {
  std::vector<Message> matching;
  for (const Message& m : messages()) {
    if (m.message == message)
      matching.push_back(m);
  }
  return matching;
}

void MessageRecorder::clear() {
  std::lock_guard lock(m_mutex);
  m_messages.clear();
}

bool MessageRecorder::event(QEvent* event) {
  if (event->type() != platform::WindowMessageEvent::kType)
    return QObject::event(event);
  auto* message = static_cast<platform::WindowMessageEvent*>(event);
  {
    std::lock_guard lock(m_mutex);
    m_messages.push_back(Message{message->message(), message->wParam(), message->lParam()});
  }
  message->setResult(m_result);
  return true;
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeoutMs)
      return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
  return true;
}

} // namespace testing_support
