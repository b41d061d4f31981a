// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <functional>

// Runs the GUI thread's events until the condition holds or time is up,
// looking only ten times a second so that the waiting costs no CPU to speak of.
inline bool runEventsUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  QEventLoop loop;
  QTimer check;
  QObject::connect(&check, &QTimer::timeout, &loop, [&] {
    if (condition())
      loop.quit();
  });
  QTimer::singleShot(timeout, &loop, &QEventLoop::quit);
  check.start(100);
  if (!condition())
    loop.exec();
  return condition();
}
