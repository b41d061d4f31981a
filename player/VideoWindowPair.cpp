// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/VideoWindowPair.h"

#include "player/FrameMailbox.h"
#include "player/VideoWindow.h"

#include <QApplication>
#include <QMetaObject>
#include <QThread>

namespace {

// A window of no size stays hidden until the engine places it.
void place(VideoWindow& window, const player::VideoRect& rect) {
  if (rect.width == 0 || rect.height == 0)
    return;
  window.setGeometry(rect.x, rect.y, rect.width, rect.height);
  window.show();
}

} // namespace

VideoWindowPair::Windows VideoWindowPair::acquire(QObject* mainWindow, const player::VideoPlacement* placement) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
    return {};
  QCoreApplication* app = QCoreApplication::instance();
  if (app->thread() == QThread::currentThread())
    return makeOnGuiThread(mainWindow, placement);
  Windows windows{};
  QMetaObject::invokeMethod(
      app, [&] { windows = makeOnGuiThread(mainWindow, placement); }, Qt::BlockingQueuedConnection);
  return windows;
}

VideoWindowPair::Windows VideoWindowPair::makeOnGuiThread(QObject* mainWindow,
                                                          const player::VideoPlacement* placement) {
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
    if (placement)
      place(*window, placement->channel[i]);
    windows[i] = Window{window.data(), window->mailbox()};
  }
  return windows;
}
