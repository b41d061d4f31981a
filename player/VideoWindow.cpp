// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/VideoWindow.h"

#include "engine/PlayerContract.h"
#include "platform/WindowMessage.h"
#include "player/PlayerHost.h"

#include <QMetaObject>
#include <QPainter>
#include <cstring>

VideoWindow::VideoWindow(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
}

void VideoWindow::present(const uint8_t* image, int width, int height) {
  if (!m_visible)
    return;
  {
    std::lock_guard lock(m_pendingLock);
    if (m_pending.width() != width || m_pending.height() != height)
      m_pending = QImage(width, height, QImage::Format_RGB32);
    std::memcpy(m_pending.bits(), image, size_t(width) * height * 4);
    m_hasPending = true;
  }
  // One queued repaint at a time: a slow GUI thread sees only the newest image.
  if (!m_updateQueued.exchange(true))
    QMetaObject::invokeMethod(this, qOverload<>(&QWidget::update), Qt::QueuedConnection);
}

void VideoWindow::retire() {
  QMetaObject::invokeMethod(
      this,
      [this] {
        hide();
        m_shown = QImage();
      },
      Qt::QueuedConnection);
}

bool VideoWindow::event(QEvent* event) {
  if (event->type() == platform::WindowMessageEvent::kType) {
    onWindowMessage(static_cast<platform::WindowMessageEvent&>(*event));
    return true;
  }
  return QWidget::event(event);
}

void VideoWindow::onWindowMessage(platform::WindowMessageEvent& message) {
  switch (message.message()) {
  case platform::kMsgWindowPos: {
    const auto* pos = reinterpret_cast<const platform::WindowPos*>(message.lParam());
    if (!pos)
      return;
    setGeometry(pos->x, pos->y, pos->width, pos->height);
    show();
    message.setResult(1);
    break;
  }
  case player::kMsgCommandText:
    PlayerHost::instance().submitText(reinterpret_cast<const char*>(message.wParam()));
    break;
  case player::kMsgFrameStep: {
    PlayerCommand command;
    command.kind = PlayerCommand::Kind::FrameStep;
    PlayerHost::instance().submit(std::move(command));
    break;
  }
  case player::kMsgFlyAwayBegin:
  case player::kMsgFlyAwayEnd:
    hide();
    break;
  default:
    // WM_MOVE and 0x660: a child window follows its parent by itself.
    break;
  }
}

void VideoWindow::showEvent(QShowEvent* event) {
  m_visible = true;
  QWidget::showEvent(event);
}

void VideoWindow::hideEvent(QHideEvent* event) {
  m_visible = false;
  QWidget::hideEvent(event);
}

void VideoWindow::takePendingImage() {
  m_updateQueued = false;
  std::lock_guard lock(m_pendingLock);
  if (!m_hasPending)
    return;
  std::swap(m_shown, m_pending);
  m_hasPending = false;
}

void VideoWindow::paintEvent(QPaintEvent*) {
  takePendingImage();
  QPainter painter(this);
  if (m_shown.isNull())
    painter.fillRect(rect(), Qt::black);
  else
    painter.drawImage(rect(), m_shown);
}
