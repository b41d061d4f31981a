// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <xcb/xcb.h>

class FrameStore;
class QWidget;

// Puts the frame store's images straight into a video window's place on an X
// server that shares memory with its clients: the server reads each image
// from the store, so the window's thread copies nothing. Where that cannot be
// (another platform, a remote server, a scaled or covered window), put()
// refuses and the window paints the image itself. GUI thread only.
class X11FrameOutput {
public:
  explicit X11FrameOutput(const FrameStore& frames) : m_frames(frames) {}
  ~X11FrameOutput();
  X11FrameOutput(const X11FrameOutput&) = delete;
  X11FrameOutput& operator=(const X11FrameOutput&) = delete;

  // True when `image`, one of the store's, is on the screen where `window`
  // lies, and the server is done reading it.
  bool put(const QWidget& window, const uint8_t* image);

private:
  enum class State { Untried, Attached, Unavailable };

  static bool showsUnscaled(const QWidget& window);
  bool attached();
  bool attach();
  bool drawsOn(xcb_window_t target);

  const FrameStore& m_frames;
  State m_state = State::Untried;
  xcb_connection_t* m_connection = nullptr;
  uint32_t m_segment = 0;
  xcb_window_t m_target = 0;
  xcb_gcontext_t m_gc = 0;
  bool m_targetFits = false;
};
