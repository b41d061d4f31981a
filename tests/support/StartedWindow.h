// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CQIRA02Dlg.h"

#include <QTest>

namespace testing_support {

// Shows the main window and waits, as a user does, until it is on the screen
// with its set-up done (the player library loads after the first paint).
inline bool showStartedWindow(CQIRA02Dlg& window) {
  window.show();
  return QTest::qWaitForWindowExposed(&window) && QTest::qWaitFor([&] { return window.HasFinishedStartUp(); });
}

} // namespace testing_support
