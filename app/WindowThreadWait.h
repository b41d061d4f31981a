// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <functional>
#include <vector>

class QObject;
class QTimer;

// A pause on the window's thread as a continuation: the window goes on
// painting and handling messages, and the step after the pause runs from a
// timer, so no message can re-enter a handler halfway.
class WindowThreadWait {
public:
  // Runs `then` once `milliseconds` have passed, unless `context` is gone by then.
  static void After(int milliseconds, QObject* context, std::function<void()> then);
  // Drops every pending continuation: a closing window runs none of them.
  static void CancelAll();

  // Tests shorten every wait by this factor; the program keeps 1.
  static void SetScale(double scale);

private:
  static double s_scale;
  static std::vector<QPointer<QTimer>> s_pending;
};
