// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CQIRA02App.h"

#include <QApplication>
#include <clocale>
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
  QApplication application(argc, argv);
  // QApplication took the user's locale for the C library too; numbers in
  // command texts and files must keep their point (and libmpv will not start
  // otherwise). Qt still shows the user's locale.
  std::setlocale(LC_NUMERIC, "C");
  CQIRA02App app;
  app.InitInstance();
  return 0;
}
