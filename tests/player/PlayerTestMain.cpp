// SPDX-License-Identifier: GPL-3.0-or-later
// The player's video windows are widgets: the tests run inside a widget
// application whose thread is the GUI thread, headless unless told otherwise
// (test discovery runs without the tests' environment).
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
