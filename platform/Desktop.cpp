// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Desktop.h"

#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <atomic>

namespace platform {

namespace {

std::atomic<int> g_lastWidth{0};
std::atomic<int> g_lastHeight{0};

bool onGuiThread() {
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  return app && app->thread() == QThread::currentThread();
}

} // namespace

DesktopSize measureDesktop() {
  if (onGuiThread()) {
    DesktopSize size;
    for (const QScreen* screen : QGuiApplication::screens()) {
      size.width += screen->geometry().width();
      size.height = screen->geometry().height();
    }
    g_lastWidth = size.width;
    g_lastHeight = size.height;
  }
  return DesktopSize{g_lastWidth.load(), g_lastHeight.load()};
}

} // namespace platform
