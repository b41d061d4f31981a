// SPDX-License-Identifier: GPL-3.0-or-later
// GoogleTest entry for tests that need a QApplication. Listing the tests (at
// build time) must work without a display, hence the offscreen default.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
