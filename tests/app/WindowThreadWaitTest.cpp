// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowThreadWait.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A frozen window would run neither its timers nor its painting while it waits.
TEST(WindowThreadWait, KeepsItsLengthAndRunsTimers) {
  WindowThreadWait::SetScale(1.0);
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(10);
  QElapsedTimer clock;
  clock.start();
  WindowThreadWait::Sleep(200);
  EXPECT_GE(clock.elapsed(), 190);
  EXPECT_GE(ticks, 2);
}

} // namespace
