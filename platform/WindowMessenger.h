// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/WindowMessage.h"

class QObject;

namespace platform {

// Delivery of window messages to QObject windows, with the three flavours the
// engine needs.
class WindowMessenger {
public:
  // Delivered on the window's thread; the caller waits for the result. A null
  // window gives 0.
  static intptr_t send(QObject* window, uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);

  // Delivered at once on the window's own thread, posted from any other thread
  // (the caller never waits). False for a null window.
  static bool notify(QObject* window, uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);

  // Places and shows the window; false when there is no window or it refused.
  static bool setWindowPos(QObject* window, const WindowPos& pos);
};

} // namespace platform
