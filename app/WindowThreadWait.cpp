// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowThreadWait.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>

void WindowThreadWait::Sleep(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(std::max(milliseconds, 0), &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}
