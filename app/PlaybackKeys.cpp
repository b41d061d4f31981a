// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PlaybackKeys.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QListWidget>

namespace {

// Modifiers that only tell where on the keyboard the key is, or which layout
// group produced it.
constexpr Qt::KeyboardModifiers kPlaceModifiers = Qt::KeypadModifier | Qt::GroupSwitchModifier;

bool isArrowKey(int key) {
  return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

} // namespace

// The application sees a key press before the focused child does, so a
// focused button cannot take Space or the arrows for itself.
PlaybackKeys::PlaybackKeys(QWidget* window) : QObject(window), m_pWindow(window) {
  QApplication::instance()->installEventFilter(this);
}

void PlaybackKeys::Bind(QKeyCombination key, const QString& meaning, std::function<void()> action) {
  m_bindings.push_back({key, meaning, std::move(action)});
}

QString PlaybackKeys::HelpText() const {
  QStringList lines;
  for (const Binding& binding : m_bindings)
    lines << QKeySequence(binding.key).toString(QKeySequence::NativeText) + QLatin1Char('\t') + binding.meaning;
  return lines.join(QLatin1Char('\n'));
}

bool PlaybackKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
    const auto* receiver = static_cast<const QWidget*>(watched);
    if (receiver->window() == m_pWindow && HandleKeyPress(receiver, *static_cast<QKeyEvent*>(event)))
      return true;
  }
  return QObject::eventFilter(watched, event);
}

// The focus counts as well as the receiver: a key the focused list ignores at
// its edge goes on to the window and must not seek there.
bool PlaybackKeys::HandleKeyPress(const QWidget* receiver, const QKeyEvent& event) {
  if (KeepsOwnArrowKeys(receiver, event.key()) || KeepsOwnArrowKeys(QApplication::focusWidget(), event.key()))
    return false;
  const QKeyCombination pressed(event.modifiers() & ~kPlaceModifiers, Qt::Key(event.key()));
  for (const Binding& binding : m_bindings) {
    if (binding.key == pressed) {
      binding.action();
      return true;
    }
  }
  return false;
}

bool PlaybackKeys::KeepsOwnArrowKeys(const QWidget* focus, int key) {
  return isArrowKey(key) && (qobject_cast<const QListWidget*>(focus) || qobject_cast<const QAbstractSlider*>(focus));
}
