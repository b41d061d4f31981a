// SPDX-License-Identifier: GPL-3.0-or-later
// Window messages between the engine, the player library and the main window.
// A window handle is a QObject; a message is a WindowMessageEvent delivered to
// it. Header-only so that the player library can receive messages without
// linking the platform layer.
#pragma once

#include "platform/ThreadHandOff.h"

#include <QEvent>
#include <cstdint>

namespace platform {

// Messages the engine sends that are not part of the player contract.
inline constexpr uint32_t kMsgWindowPos = 0x0046;   // lParam: const WindowPos*; result 1 when placed
inline constexpr uint32_t kMsgPlayerNotify = 0x464; // UM_PLAYER_NOTIFY: wParam length, lParam position
inline constexpr uint32_t kMsgPlayerEnd = 0x770;    // UM_PLAYER_END: wParam 0, lParam 1
inline constexpr uint32_t kMsgTbmSetPos = 0x405;    // wParam redraw, lParam position
inline constexpr uint32_t kMsgTbmSetRangeMin = 0x407;
inline constexpr uint32_t kMsgTbmSetRangeMax = 0x408;

struct WindowPos {
  int x;
  int y;
  int width;
  int height;
};

class WindowMessageEvent : public QEvent {
public:
  static constexpr QEvent::Type kType = QEvent::Type(QEvent::User + 0x464);

  // Made on the sending thread and read on the window's, after Qt's queue
  // handed it over.
  WindowMessageEvent(uint32_t message, uintptr_t wParam, intptr_t lParam)
      : QEvent(kType), m_message(message), m_wParam(wParam), m_lParam(lParam) {
    handOffRelease(this);
  }

  uint32_t message() const {
    handOffAcquire(this);
    return m_message;
  }
  uintptr_t wParam() const {
    handOffAcquire(this);
    return m_wParam;
  }
  intptr_t lParam() const {
    handOffAcquire(this);
    return m_lParam;
  }

  // The receiver's answer, as SendMessage returns it.
  intptr_t result() const { return m_result; }
  void setResult(intptr_t result) { m_result = result; }

private:
  uint32_t m_message;
  uintptr_t m_wParam;
  intptr_t m_lParam;
  intptr_t m_result = 0;
};

} // namespace platform
