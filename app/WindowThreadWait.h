// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A pause on the window's thread that keeps the window painting: timers,
// posted messages and painting go on, the user's input waits until the end.
class WindowThreadWait {
public:
  static void Sleep(int milliseconds);

  // Tests shorten every wait by this factor; the program keeps 1.
  static void SetScale(double scale);

private:
  static double s_scale;
};
