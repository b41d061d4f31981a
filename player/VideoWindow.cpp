// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/VideoWindow.h"

#include "engine/PlayerContract.h"
#include "platform/WindowMessage.h"
#include "player/FrameMailbox.h"
#include "player/PlayerHost.h"
#include "player/X11FrameOutput.h"

#include <QMetaObject>
#include <QPainter>

VideoWindow::VideoWindow(QWidget* parent)
    : QWidget(parent), m_mailbox(std::make_shared<FrameMailbox>(this)),
      m_screen(std::make_unique<X11FrameOutput>(PlayerHost::instance().frames())) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
}

VideoWindow::~VideoWindow() { m_mailbox->detach(); }

void VideoWindow::retire() { hide(); }

void VideoWindow::present() {
  const int channel = m_mailbox->take();
  if (channel != FrameMailbox::kNoImage) {
    const FrameStore::Lease lease(PlayerHost::instance().frames(), channel);
    if (m_screen->put(*this, lease.image()))
      return;
  }
  update();
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
  m_mailbox->setVisible(true);
  QWidget::showEvent(event);
}

void VideoWindow::hideEvent(QHideEvent* event) {
  m_mailbox->setVisible(false);
  QWidget::hideEvent(event);
}

// Paints straight from the frame store: no copy of the image per frame.
void VideoWindow::paintEvent(QPaintEvent*) {
  const int channel = m_mailbox->take();
  QPainter painter(this);
  if (channel == FrameMailbox::kNoImage) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  const FrameStore::Lease lease(PlayerHost::instance().frames(), channel);
  const QImage image(lease.image(), FrameStore::kWidth, FrameStore::kHeight, FrameStore::kStride, QImage::Format_RGB32);
  painter.drawImage(rect(), image);
}
