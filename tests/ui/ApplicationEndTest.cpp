// SPDX-License-Identifier: GPL-3.0-or-later
// How the program ends: through the application object's modal window.
#include "FakePlayerDriver.h"
#include "app/CQIRA02App.h"
#include "app/CQIRA02Dlg.h"
#include "engine/PlayerContract.h"
#include "tests/fakeplayer/FakePlayerControl.h"

#include <QAbstractButton>
#include <QTimer>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

void pressExit(CQIRA02App& app) {
  auto* window = static_cast<CQIRA02Dlg*>(app.m_pMainWnd);
  static_cast<QAbstractButton*>(window->GetDlgItem(IDC_EXIT))->click();
}

// Exit while the fake plays; then the player reports a frame as a real one
// keeps doing, which must not reach a window that is gone.
[[noreturn]] void exitWhilePlaying() {
  fake_reset();
  CQIRA02App app("fakeplayer.dll");
  FakePlayerDriver driver;
  QTimer::singleShot(0, [&] {
    if (!driver.StartPlaying(*static_cast<CQIRA02Dlg*>(app.m_pMainWnd)))
      std::_Exit(2);
    pressExit(app);
  });
  app.InitInstance();
  player::FrameReport frame{};
  FakePlayerDriver::Fire(3, player::kEventFrame);
  FakePlayerDriver::Fire(reinterpret_cast<intptr_t>(&frame), player::kEventFrame);
  std::_Exit(3);
}

} // namespace

TEST(ApplicationEnd, ReturnsFalseAfterTheWindowWhenNoPlayerRuns) {
  CQIRA02App app("absent.dll");
  QTimer::singleShot(0, [&] { pressExit(app); });
  EXPECT_FALSE(app.InitInstance());
  EXPECT_EQ(app.m_pMainWnd, nullptr);
}

// The player is told nothing and the process ends before the window is torn
// down under the player's threads.
TEST(ApplicationEnd, EndsTheProcessAtOnceWhileAPlayerRuns) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(exitWhilePlaying(), testing::ExitedWithCode(0), "");
}
