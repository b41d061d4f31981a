// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

class QEventLoop;

// A pause on the window's thread that keeps the window painting: timers,
// posted messages and painting go on. The user's input waits until the end,
// or, while a HeldInput lives, goes to it.
class WindowThreadWait {
public:
  static void Sleep(int milliseconds);
  // Ends every running wait now; their callers find out through their own state.
  static void CancelAll();

  // Tests shorten every wait by this factor; the program keeps 1.
  static void SetScale(double scale);

private:
  static double s_scale;
  static std::vector<QEventLoop*> s_loops;
};
