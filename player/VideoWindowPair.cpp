// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/VideoWindowPair.h"

#include "player/VideoWindow.h"

#include <QApplication>
#include <QMetaObject>
#include <QThread>

VideoWindowPair::Windows VideoWindowPair::acquire(QObject* mainWindow) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
    return {};
  QCoreApplication* app = QCoreApplication::instance();
  if (app->thread() == QThread::currentThread())
    return makeOnGuiThread(mainWindow);
  Windows windows{};
  QMetaObject::invokeMethod(
      app, [&] { windows = makeOnGuiThread(mainWindow); }, Qt::BlockingQueuedConnection);
  return windows;
}

VideoWindowPair::Windows VideoWindowPair::makeOnGuiThread(QObject* mainWindow) {
  auto* parent = qobject_cast<QWidget*>(mainWindow);
  Windows windows{};
  for (size_t i = 0; i < m_windows.size(); ++i) {
    QPointer<VideoWindow>& window = m_windows[i];
    if (window && window->parentWidget() != parent) {
      window->deleteLater();
      window.clear();
    }
    if (!window)
      window = new VideoWindow(parent);
    windows[i] = window.data();
  }
  return windows;
}

void VideoWindowPair::retire() {
  for (QPointer<VideoWindow>& window : m_windows) {
    if (VideoWindow* w = window.data())
      w->retire();
  }
}
