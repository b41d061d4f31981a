// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MainWindowFixture.h"

#include "engine/PlaybackValues.h"
#include "tests/fakeplayer/FakePlayerControl.h"
#include "tests/support/MessageRecorder.h"

#include <string>
#include <vector>

// The main window with the scripted fake player module, reset before each
// test and released after it.
class FakePlayerWindowFixture : public MainWindowFixture {
protected:
  std::string LibraryName() const override { return "fakeplayer.dll"; }

  void SetUp() override {
    fake_reset();
    MainWindowFixture::SetUp();
    g_Playback.nPosUnitsPerSecond = kPosUnitsNotSet;
  }

  void TearDown() override {
    fake_release_entry();
    testing_support::waitUntil([] { return !fake_entry_running(); });
  }

  // Text commands the fake received since the last call or SkipCommands().
  std::vector<std::string> NewCommands() {
    std::vector<std::string> commands;
    char text[512];
    for (; fake_command(m_seenCommands, text, sizeof text); ++m_seenCommands)
      commands.emplace_back(text);
    return commands;
  }
  void SkipCommands() { m_seenCommands = fake_command_count(); }

private:
  int m_seenCommands = 0;
};
