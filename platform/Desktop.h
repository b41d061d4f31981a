// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace platform {

struct DesktopSize {
  int width = 0;  // summed width of all screens
  int height = 0; // height of the last screen
};

// Measured on the GUI thread; from other threads (or without a GUI) the last
// measurement is returned, zero before the first.
DesktopSize measureDesktop();

} // namespace platform
