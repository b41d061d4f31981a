// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowThreadWait.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {

// The step after a wait comes no sooner than the wait's length, the window's
// timers run meanwhile, and a cancelled wait (a closing window) never runs its step.
TEST(WindowThreadWait, KeepsItsLengthRunsTimersAndCancels) {
  WindowThreadWait::SetScale(1.0);
  QObject context;
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(10);
  QElapsedTimer clock;
  clock.start();
  qint64 ranAfter = -1;
  WindowThreadWait::After(200, &context, [&] { ranAfter = clock.elapsed(); });
  bool cancelledRan = false;
  QObject other;
  WindowThreadWait::After(100, &other, [&] { cancelledRan = true; });
  WindowThreadWait::CancelAll();
  WindowThreadWait::After(200, &context, [&] { ranAfter = clock.elapsed(); });
  EXPECT_TRUE(QTest::qWaitFor([&] { return ranAfter >= 0; }, 2000));
  EXPECT_GE(ranAfter, 190);
  EXPECT_GE(ticks, 2);
  QTest::qWait(50);
  EXPECT_FALSE(cancelledRan);
}

} // namespace
