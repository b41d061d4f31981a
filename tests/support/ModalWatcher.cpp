// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/ModalWatcher.h"

#include <QApplication>
#include <QMessageBox>

ModalWatcher::ModalWatcher() {
  connect(&m_timer, &QTimer::timeout, this, &ModalWatcher::Answer);
  m_timer.start(5);
}

void ModalWatcher::Answer() {
  auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
  if (!dialog || !dialog->isVisible())
    return;
  if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
    m_messages << box->text();
    box->done(QMessageBox::Ok);
    return;
  }
  m_dialogs << dialog->windowTitle();
  dialog->reject();
}
