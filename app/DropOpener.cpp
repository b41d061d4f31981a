// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DropOpener.h"

#include "app/OpenRequest.h"

#include <QApplication>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>
#include <QWidget>

// Child widgets that take no drops hand them on to the window; the ones that
// do (the map's web view would show a dropped file) never see them, as the
// application's filter sees each drag event first.
DropOpener::DropOpener(QWidget* window, std::function<void(const OpenRequest&)> open)
    : QObject(window), m_pWindow(window), m_open(std::move(open)) {
  window->setAcceptDrops(true);
  QApplication::instance()->installEventFilter(this);
}

bool DropOpener::eventFilter(QObject* watched, QEvent* event) {
  if (!watched->isWidgetType() || static_cast<const QWidget*>(watched)->window() != m_pWindow)
    return QObject::eventFilter(watched, event);
  switch (event->type()) {
  case QEvent::DragEnter:
  case QEvent::DragMove: {
    auto* drag = static_cast<QDragMoveEvent*>(event);
    drag->setAccepted(drag->mimeData()->hasUrls());
    if (drag->isAccepted())
      drag->acceptProposedAction();
    return true;
  }
  case QEvent::Drop: {
    auto* drop = static_cast<QDropEvent*>(event);
    drop->acceptProposedAction();
    // The data lives only as long as the event; the source waits for the
    // drop to end, so opening (which waits for the player) or a modal box
    // comes after it.
    const OpenRequest request = OpenRequest::FromMimeData(*drop->mimeData());
    QTimer::singleShot(0, m_pWindow, [this, request] { Carry(request); });
    return true;
  }
  default:
    return QObject::eventFilter(watched, event);
  }
}

void DropOpener::Carry(const OpenRequest& request) {
  if (request.IsRefused())
    QMessageBox::information(m_pWindow, QString(), request.Refusal(), QMessageBox::Ok);
  else
    m_open(request);
}
