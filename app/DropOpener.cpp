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
  const QEvent::Type type = event->type();
  const bool dragEvent = type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop;
  if (!dragEvent || !watched->isWidgetType() || static_cast<const QWidget*>(watched)->window() != m_pWindow)
    return QObject::eventFilter(watched, event);
  if (type == QEvent::Drop)
    TakeDrop(*static_cast<QDropEvent*>(event));
  else
    LetIn(*static_cast<QDragMoveEvent*>(event));
  return true;
}

// Files are let in whatever they are: a drop that cannot be opened is told
// apart, and said why, only when it is dropped.
void DropOpener::LetIn(QDragMoveEvent& drag) {
  drag.setAccepted(drag.mimeData()->hasUrls());
  if (drag.isAccepted())
    drag.acceptProposedAction();
}

// The data lives only as long as the event, and the source waits for the drop
// to end: opening (which waits for the player) or a modal box comes after it.
void DropOpener::TakeDrop(QDropEvent& drop) {
  drop.acceptProposedAction();
  const OpenRequest request = OpenRequest::FromMimeData(*drop.mimeData());
  QTimer::singleShot(0, m_pWindow, [this, request] { Carry(request); });
}

void DropOpener::Carry(const OpenRequest& request) {
  if (request.IsRefused())
    QMessageBox::information(m_pWindow, QString(), request.Refusal(), QMessageBox::Ok);
  else
    m_open(request);
}
