// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPoint>

class QMouseEvent;
class QWidget;

// A press on the frameless window's background moves it as if by its caption:
// through the platform's own move where it has one, else by following the
// pointer. Installed on the window as its event filter.
class BackgroundDrag : public QObject {
public:
  explicit BackgroundDrag(QWidget* window);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void Press(const QMouseEvent& event);
  void Move(const QMouseEvent& event);

  QWidget* const m_window;
  bool m_bDragging = false;
  QPoint m_dragAnchor;
};
