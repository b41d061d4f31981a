// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <clocale>
#include <cstdlib>
#include <unistd.h>

// A benchmark process started as the viewer starts: offscreen when there is no
// display, the map's web engine allowed to run as root (it ends the process
// otherwise), OpenGL contexts shared for the web view, and the C numeric
// locale libmpv needs.
class ViewerApplication : public QApplication {
public:
  ViewerApplication(int& argc, char** argv) : QApplication(prepared(argc), argv) { std::setlocale(LC_NUMERIC, "C"); }

private:
  static int& prepared(int& argc) {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
      setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (geteuid() == 0)
      setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    return argc;
  }
};
