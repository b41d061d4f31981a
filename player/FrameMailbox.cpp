// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/FrameMailbox.h"

#include "player/VideoWindow.h"

#include <QMetaObject>
#include <cstring>

void FrameMailbox::post(const uint8_t* image, int width, int height) {
  std::lock_guard lock(m_lock);
  if (!m_window || !m_visible)
    return;
  if (m_pending.width() != width || m_pending.height() != height)
    m_pending = QImage(width, height, QImage::Format_RGB32);
  std::memcpy(m_pending.bits(), image, size_t(width) * height * 4);
  m_hasPending = true;
  // One queued repaint at a time: a slow GUI thread sees only the newest image.
  if (!m_updateQueued) {
    m_updateQueued = true;
    QMetaObject::invokeMethod(m_window, qOverload<>(&QWidget::update), Qt::QueuedConnection);
  }
}

void FrameMailbox::retire() {
  std::lock_guard lock(m_lock);
  m_hasPending = false;
  if (m_window)
    QMetaObject::invokeMethod(m_window, &VideoWindow::retire, Qt::QueuedConnection);
}

void FrameMailbox::setVisible(bool visible) {
  std::lock_guard lock(m_lock);
  m_visible = visible;
}

bool FrameMailbox::take(QImage& shown) {
  std::lock_guard lock(m_lock);
  m_updateQueued = false;
  if (!m_hasPending)
    return false;
  std::swap(shown, m_pending);
  m_hasPending = false;
  return true;
}

void FrameMailbox::detach() {
  std::lock_guard lock(m_lock);
  m_window = nullptr;
}
