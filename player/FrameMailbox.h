// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <mutex>

class VideoWindow;

// Tells a video window which channel's image to paint. The render and player
// threads touch only the mailbox, never the widget, so a window that the GUI
// thread destroys (with its main window) is never used afterwards.
class FrameMailbox {
public:
  static constexpr int kNoImage = -1;

  explicit FrameMailbox(VideoWindow* window) : m_window(window) {}

  // Any thread: the channel has a new front image in the frame store; asks
  // the window to show it; nothing while it is hidden.
  void post(int channel);
  // Any thread: hides the window and forgets its image.
  void retire();

  // GUI thread.
  void setVisible(bool visible);
  // The channel whose front image the window shows, or kNoImage.
  int take();
  // The window is going away.
  void detach();

private:
  std::mutex m_lock;
  VideoWindow* m_window;
  bool m_visible = false;
  bool m_updateQueued = false;
  int m_channel = kNoImage;
};
