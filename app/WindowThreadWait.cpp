// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowThreadWait.h"

#include <QTimer>
#include <algorithm>
#include <utility>

double WindowThreadWait::s_scale = 1.0;
std::vector<QPointer<QTimer>> WindowThreadWait::s_pending;

void WindowThreadWait::After(int milliseconds, QObject* context, std::function<void()> then) {
  auto* timer = new QTimer(context);
  timer->setSingleShot(true);
  timer->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer, &QTimer::timeout, context, [timer, then = std::move(then)] {
    s_pending.erase(std::remove(s_pending.begin(), s_pending.end(), timer), s_pending.end());
    timer->deleteLater();
    then();
  });
  s_pending.erase(std::remove_if(s_pending.begin(), s_pending.end(),
                                 [](const QPointer<QTimer>& pending) { return pending.isNull(); }),
                  s_pending.end());
  s_pending.emplace_back(timer);
  timer->start(std::max(0, int(milliseconds * s_scale)));
}

void WindowThreadWait::CancelAll() {
  for (const QPointer<QTimer>& timer : std::exchange(s_pending, {})) {
    if (timer) {
      timer->stop();
      timer->deleteLater();
    }
  }
}

void WindowThreadWait::SetScale(double scale) { s_scale = scale; }
