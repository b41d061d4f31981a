// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>

class OpenRequest;
class QDragMoveEvent;
class QDropEvent;
class QWidget;

// Opens what is dropped on a window: a drag that carries files is let in, and
// its drop becomes an OpenRequest handed to `open`. An unusable drop opens
// nothing and tells the user why in a message box.
class DropOpener : public QObject {
public:
  DropOpener(QWidget* window, std::function<void(const OpenRequest&)> open);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  static void LetIn(QDragMoveEvent& drag);
  void TakeDrop(QDropEvent& drop);
  void Carry(const OpenRequest& request);

  QWidget* m_pWindow;
  std::function<void(const OpenRequest&)> m_open;
};
