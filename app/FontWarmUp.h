// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFuture>

// The first text a process draws waits about 10 ms on a small machine while
// the font configuration is read and the installed fonts are listed. Started
// on a worker as the window is made, that runs beside the rest of its set-up
// instead of before its first picture.
class FontWarmUp {
public:
  FontWarmUp();
  ~FontWarmUp();
  FontWarmUp(const FontWarmUp&) = delete;
  FontWarmUp& operator=(const FontWarmUp&) = delete;

private:
  QFuture<void> m_done;
};
