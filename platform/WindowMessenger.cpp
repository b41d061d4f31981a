// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WindowMessenger.h"

#include <QCoreApplication>
#include <QThread>
#include <condition_variable>
#include <mutex>

namespace platform {

namespace {

bool onWindowThread(const QObject* window) { return window->thread() == QThread::currentThread(); }

struct Reply {
  std::mutex mutex;
  std::condition_variable delivered;
  bool done = false;
  intptr_t result = 0;
};

// A message posted to another thread that hands its result back when Qt
// deletes it: after delivery, or unread when the window goes away first.
class ReplyingMessageEvent : public WindowMessageEvent {
public:
  ReplyingMessageEvent(uint32_t message, uintptr_t wParam, intptr_t lParam, Reply& reply)
      : WindowMessageEvent(message, wParam, lParam), m_reply(reply) {
    handOffRelease(this);
  }
  ~ReplyingMessageEvent() override {
    handOffAcquire(this);
    std::lock_guard lock(m_reply.mutex);
    m_reply.result = result();
    m_reply.done = true;
    m_reply.delivered.notify_all();
  }

private:
  Reply& m_reply;
};

} // namespace

intptr_t WindowMessenger::send(QObject* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (!window)
    return 0;
  if (onWindowThread(window)) {
    WindowMessageEvent event(message, wParam, lParam);
    QCoreApplication::sendEvent(window, &event);
    return event.result();
  }
  Reply reply;
  QCoreApplication::postEvent(window, new ReplyingMessageEvent(message, wParam, lParam, reply));
  std::unique_lock lock(reply.mutex);
  reply.delivered.wait(lock, [&] { return reply.done; });
  return reply.result;
}

bool WindowMessenger::notify(QObject* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (!window)
    return false;
  if (onWindowThread(window)) {
    WindowMessageEvent event(message, wParam, lParam);
    QCoreApplication::sendEvent(window, &event);
  } else {
    QCoreApplication::postEvent(window, new WindowMessageEvent(message, wParam, lParam));
  }
  return true;
}

bool WindowMessenger::setWindowPos(QObject* window, const WindowPos& pos) {
  return send(window, kMsgWindowPos, 0, reinterpret_cast<intptr_t>(&pos)) != 0;
}

} // namespace platform
