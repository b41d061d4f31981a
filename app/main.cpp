// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CQIRA02App.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace {

bool displayAvailable() {
  return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") || std::getenv("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char** argv) {
  if (!displayAvailable()) {
    std::fprintf(stderr, "lumenark: no display; try: xvfb-run -a make run\n");
    return 1;
  }
  // The map's web view shares the window's graphics context.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  CQIRA02App app;
  app.InitInstance();
  return 0;
}
