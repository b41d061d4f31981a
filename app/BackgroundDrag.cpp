// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BackgroundDrag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

BackgroundDrag::BackgroundDrag(QWidget* window) : QObject(window), m_window(window) {
  window->installEventFilter(this);
}

// Presses on the controls reach the window only when a control leaves them.
bool BackgroundDrag::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_window)
    return false;
  switch (event->type()) {
  case QEvent::MouseButtonPress:
    Press(*static_cast<QMouseEvent*>(event));
    break;
  case QEvent::MouseMove:
    Move(*static_cast<QMouseEvent*>(event));
    break;
  case QEvent::MouseButtonRelease:
    if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
      m_bDragging = false;
    break;
  default:
    break;
  }
  return false;
}

void BackgroundDrag::Press(const QMouseEvent& event) {
  if (event.button() != Qt::LeftButton)
    return;
  if (m_window->windowHandle() && m_window->windowHandle()->startSystemMove())
    return;
  m_bDragging = true;
  m_dragAnchor = event.globalPosition().toPoint() - m_window->pos();
}

void BackgroundDrag::Move(const QMouseEvent& event) {
  if (m_bDragging && event.buttons() & Qt::LeftButton)
    m_window->move(event.globalPosition().toPoint() - m_dragAnchor);
}
