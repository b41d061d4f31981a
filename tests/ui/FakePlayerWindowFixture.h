// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MainWindowFixture.h"
#include "engine/EngineGlobals.h"
#include "tests/fakeplayer/FakePlayerControl.h"
#include "tests/support/MessageRecorder.h"

// A main window whose engine loads the scripted fake player module, reset
// before each test and released after it.
class FakePlayerWindowFixture : public MainWindowFixture {
protected:
  std::string LibraryName() const override { return "fakeplayer.dll"; }

  void SetUp() override {
    fake_reset();
    g_nPosUnitsPerSecond = kPosUnitsNotSet;
    MainWindowFixture::SetUp();
  }

  void TearDown() override {
    fake_release_entry();
    testing_support::waitUntil([] { return !fake_entry_running(); });
  }
};
