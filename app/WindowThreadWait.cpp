// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowThreadWait.h"

#include "app/HeldInput.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>

double WindowThreadWait::s_scale = 1.0;
std::vector<QEventLoop*> WindowThreadWait::s_loops;

void WindowThreadWait::Sleep(int milliseconds) {
  QEventLoop loop;
  s_loops.push_back(&loop);
  QTimer::singleShot(std::max(0, int(milliseconds * s_scale)), Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec(HeldInput::Holding() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
  s_loops.erase(std::find(s_loops.begin(), s_loops.end(), &loop));
}

void WindowThreadWait::CancelAll() {
  for (QEventLoop* loop : s_loops)
    loop->quit();
}

void WindowThreadWait::SetScale(double scale) { s_scale = scale; }
