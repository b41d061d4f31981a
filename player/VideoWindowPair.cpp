// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/VideoWindowPair.h"

#include "player/FrameMailbox.h"
#include "player/VideoWindow.h"

#include <QApplication>
#include <QMetaObject>
#include <QThread>
#include <future>
#include <memory>

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
  // A queued call that hands its result back through a promise: the window's
  // thread touches nothing on this thread's stack. A call dropped unrun (the
  // application ending) breaks the promise and yields no windows.
  auto made = std::make_shared<std::promise<Windows>>();
  std::future<Windows> windows = made->get_future();
  QMetaObject::invokeMethod(
      app,
      [this, made = std::move(made), mainWindow, placement] {
        made->set_value(makeOnGuiThread(mainWindow, placement));
      },
      Qt::QueuedConnection);
  try {
    return windows.get();
  } catch (const std::future_error&) {
    return {};
  }
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
