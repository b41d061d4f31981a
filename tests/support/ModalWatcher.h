// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

// Answers the modal dialogs a test's code opens: message boxes are noted and
// confirmed with OK, any other modal dialog is rejected. Lives for one test.
class ModalWatcher : public QObject {
public:
  ModalWatcher();

  // The message boxes' texts, in the order they came up.
  const QStringList& Messages() const { return m_messages; }
  // Dialogs other than message boxes that were closed, by window title.
  const QStringList& Dialogs() const { return m_dialogs; }

private:
  void Answer();

  QStringList m_messages;
  QStringList m_dialogs;
  QTimer m_timer;
};
