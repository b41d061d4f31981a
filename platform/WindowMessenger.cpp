// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WindowMessenger.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

namespace platform {

namespace {

bool onWindowThread(const QObject* window) { return window->thread() == QThread::currentThread(); }

} // namespace

intptr_t WindowMessenger::send(QObject* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (!window)
    return 0;
  WindowMessageEvent event(message, wParam, lParam);
  if (onWindowThread(window)) {
    QCoreApplication::sendEvent(window, &event);
  } else {
    QMetaObject::invokeMethod(
        window, [window, &event] { QCoreApplication::sendEvent(window, &event); }, Qt::BlockingQueuedConnection);
  }
  return event.result();
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
