// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/FrameMailbox.h"

#include "player/VideoWindow.h"

#include <QMetaObject>

void FrameMailbox::post(int channel) {
  std::lock_guard lock(m_lock);
  if (!m_window || !m_visible)
    return;
  m_channel = channel;
  // One queued showing at a time: a slow GUI thread shows only the newest image.
  if (!m_updateQueued) {
    m_updateQueued = true;
    QMetaObject::invokeMethod(m_window, &VideoWindow::present, Qt::QueuedConnection);
  }
}

void FrameMailbox::retire() {
  std::lock_guard lock(m_lock);
  m_channel = kNoImage;
  if (m_window)
    QMetaObject::invokeMethod(m_window, &VideoWindow::retire, Qt::QueuedConnection);
}

void FrameMailbox::setVisible(bool visible) {
  std::lock_guard lock(m_lock);
  m_visible = visible;
}

int FrameMailbox::take() {
  std::lock_guard lock(m_lock);
  m_updateQueued = false;
  return m_channel;
}

void FrameMailbox::detach() {
  std::lock_guard lock(m_lock);
  m_window = nullptr;
}
