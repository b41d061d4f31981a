// SPDX-License-Identifier: GPL-3.0-or-later
// GoogleTest main for tests that need a Qt event loop (and widgets) on the main thread.
#include <QApplication>
#include <clocale>
#include <gtest/gtest.h>
#include <unistd.h>

int main(int argc, char** argv) {
  // Test discovery runs the binary without the test environment.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  // The web engine refuses to start as root with its sandbox on.
  if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  // Before the application: the map's web view needs it.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C"); // as the viewer's start-up does
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
