// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <array>

class QObject;
class VideoWindow;

// The two video windows, made on the GUI thread when a player run starts and
// kept for later runs, so that a window handle the engine still holds after
// the player ended stays a live window.
class VideoWindowPair {
public:
  using Windows = std::array<VideoWindow*, 2>;

  // Blocks until the GUI thread has made (or found) both windows as children
  // of the main window, or top-level without one. Null windows when the
  // process has no widget application.
  Windows acquire(QObject* mainWindow);
  // Hides both windows without waiting for the GUI thread.
  void retire();

private:
  Windows makeOnGuiThread(QObject* mainWindow);

  std::array<QPointer<VideoWindow>, 2> m_windows;
};
