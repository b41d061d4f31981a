// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A wait on the window's thread that keeps the window painting: posted
// events and timers run, user input waits until the wait is over.
class WindowThreadWait {
public:
  static void Sleep(int milliseconds);
};
