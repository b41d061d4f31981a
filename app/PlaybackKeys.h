// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeyCombination>
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QKeyEvent;
class QWidget;

// The main window's keyboard: each bound key runs the action of a button or
// slider of the window, wherever the focus is inside the window. A focused
// list or slider keeps its own arrow keys; keys not bound here (Enter, Esc)
// keep the window's own handling.
class PlaybackKeys : public QObject {
public:
  explicit PlaybackKeys(QWidget* window);

  void Bind(QKeyCombination key, const QString& meaning, std::function<void()> action);
  // One line per bound key, "key<TAB>meaning", in the order they were bound.
  QString HelpText() const;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  struct Binding {
    QKeyCombination key;
    QString meaning;
    std::function<void()> action;
  };

  bool HandleKeyPress(const QWidget* receiver, const QKeyEvent& event);
  static bool KeepsOwnArrowKeys(const QWidget* focus, int key);

  QWidget* m_pWindow;
  std::vector<Binding> m_bindings;
};
