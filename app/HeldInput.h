// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

// While it lives, the user's input that the gate does not let through is held
// back, and handed on in its order when it ends: a sequence of waits on the
// window's thread runs to its end before a held click acts, while what the
// gate passes (a newer choice, a close) acts at once.
class HeldInput : public QObject {
public:
  using Gate = std::function<bool(QObject* target, QEvent* event)>;

  explicit HeldInput(Gate gate);
  ~HeldInput() override;
  HeldInput(const HeldInput&) = delete;
  HeldInput& operator=(const HeldInput&) = delete;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  static bool IsUserInput(QEvent::Type type);

  Gate m_gate;
  std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> m_held;
};
