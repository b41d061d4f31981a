// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PlayerContract.h"

#include <QPointer>
#include <array>
#include <memory>

class FrameMailbox;
class QObject;
class VideoWindow;

// The two video windows, made on the GUI thread when a player run starts and
// kept for later runs, so that a window handle the engine still holds after
// the player ended stays a live window.
class VideoWindowPair {
public:
  struct Window {
    QObject* handle = nullptr; // as reported to the engine
    std::shared_ptr<FrameMailbox> mailbox;
  };
  using Windows = std::array<Window, 2>;

  // Blocks until the GUI thread has made (or found) both windows as children
  // of the main window, or top-level without one, and placed them at the
  // given placement. No windows when the process has no widget application.
  Windows acquire(QObject* mainWindow, const player::VideoPlacement* placement);

private:
  Windows makeOnGuiThread(QObject* mainWindow, const player::VideoPlacement* placement);

  std::array<QPointer<VideoWindow>, 2> m_windows;
};
