// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowThreadWait.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>

double WindowThreadWait::s_scale = 1.0;

void WindowThreadWait::Sleep(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(std::max(0, int(milliseconds * s_scale)), Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void WindowThreadWait::SetScale(double scale) { s_scale = scale; }
