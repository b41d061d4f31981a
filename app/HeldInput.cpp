// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HeldInput.h"

#include <QCoreApplication>

HeldInput::HeldInput(Gate gate) : m_gate(std::move(gate)) { QCoreApplication::instance()->installEventFilter(this); }

HeldInput::~HeldInput() {
  QCoreApplication::instance()->removeEventFilter(this);
  for (auto& [target, event] : m_held) {
    if (target)
      QCoreApplication::postEvent(target, event.release());
  }
}

// Only input from the window system is held; what is posted on release is
// handled as it comes.
bool HeldInput::eventFilter(QObject* watched, QEvent* event) {
  if (!event->spontaneous() || !IsUserInput(event->type()) || !watched->isWidgetType() || m_gate(watched, event))
    return false;
  m_held.emplace_back(watched, std::unique_ptr<QEvent>(event->clone()));
  return true;
}

bool HeldInput::IsUserInput(QEvent::Type type) {
  switch (type) {
  case QEvent::MouseButtonPress:
  case QEvent::MouseButtonRelease:
  case QEvent::MouseButtonDblClick:
  case QEvent::MouseMove:
  case QEvent::KeyPress:
  case QEvent::KeyRelease:
  case QEvent::ShortcutOverride:
  case QEvent::Wheel:
  case QEvent::ContextMenu:
    return true;
  default:
    return false;
  }
}
