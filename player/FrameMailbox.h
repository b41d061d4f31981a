// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <mutex>

class VideoWindow;

// Where the render thread leaves images for a video window. The render and
// player threads touch only the mailbox, never the widget, so a window that
// the GUI thread destroys (with its main window) is never used afterwards.
class FrameMailbox {
public:
  explicit FrameMailbox(VideoWindow* window) : m_window(window) {}

  // Any thread: copies the image (32-bit blue, green, red, unused) for the
  // next paint and asks the window to repaint; nothing while it is hidden.
  void post(const uint8_t* image, int width, int height);
  // Any thread: hides the window and forgets its image.
  void retire();

  // GUI thread.
  void setVisible(bool visible);
  // Swaps the newest posted image into `shown`; false when none is new.
  bool take(QImage& shown);
  // The window is going away.
  void detach();

private:
  std::mutex m_lock;
  VideoWindow* m_window;
  bool m_visible = false;
  bool m_updateQueued = false;
  bool m_hasPending = false;
  QImage m_pending;
};
