// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CQIRA02Dlg.h"
#include "app/SpeedLevel.h"
#include "controls/CImageSlider.h"
#include "tests/support/StartedWindow.h"

#include <QAbstractButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// A main window shown on the offscreen platform, set up as at start-up, with
// a player library name that `LibraryName()` chooses.
class MainWindowFixture : public testing::Test {
protected:
  // No library by that name: the window must work without one.
  virtual std::string LibraryName() const { return "absent.dll"; }

  void SetUp() override {
    // As at process start: earlier tests in this process may have changed them.
    g_Playback.Reset();
    testing::internal::CaptureStdout();
    m_window = std::make_unique<CQIRA02Dlg>(nullptr, LibraryName());
    const bool startedUp = testing_support::showStartedWindow(*m_window);
    m_startOutput = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(startedUp);
  }

  CQIRA02Dlg& Window() { return *m_window; }
  QWidget* Item(ControlId id) { return m_window->GetDlgItem(id); }
  QAbstractButton* Button(ControlId id) { return static_cast<QAbstractButton*>(Item(id)); }
  CImageSlider* Slider(ControlId id) { return static_cast<CImageSlider*>(Item(id)); }

  std::unique_ptr<CQIRA02Dlg> m_window;
  std::string m_startOutput;
};
