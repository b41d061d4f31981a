// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PlaybackValues.h"
#include "engine/QIRAAdap.h"
#include "engine/QIRAstat0.h"
#include "engine/QIRAstat1.h"
#include "engine/QIRAstat2.h"
#include "engine/QIRAstat3.h"
#include "engine/QIRAstat4.h"
#include "engine/QIRAstat9.h"
#include "tests/fakeplayer/FakePlayerControl.h"
#include "tests/support/BoxWriter.h"
#include "tests/support/DiagnosticRecorder.h"
#include "tests/support/MessageRecorder.h"

#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// An adapter wired to the fake player module and a recording notify window,
// with helpers to reach each state the way the main window does.
class EngineFixture : public testing::Test {
protected:
  static constexpr const char* kFakeModule = "fakeplayer.dll";

  void SetUp() override;
  void TearDown() override;

  // A recording of `records` positions with a complete user-data area.
  std::string writeRecording(const std::string& name, uint32_t records, const std::vector<std::string>& sentences = {});
  std::string path(const std::string& name) const;

  // The diagnostic lines written since the last call (or the test's start).
  std::string takeDiagnostics();

  // OpenPlayer + event 0: state 4.
  void loadLibrary();
  // Enters the temporary state and opens `recording`, as the main window does.
  int open(const std::string& recording);
  // Library loaded, recording opened, player reported playing: state 1.
  void reachPlaying(const std::string& recording);
  void fire(intptr_t data, uint32_t code);
  void firePointer(const void* data, uint32_t code) { fire(reinterpret_cast<intptr_t>(data), code); }
  void fireLength(uint32_t length);
  void fireFrame(uint32_t position, float seconds = 1.0f);

  std::vector<std::string> commands() const;
  std::string lastCommand() const;
  int stateNumber() const { return adap->CurrentState()->StateNumber(); }
  bool waitForState(QIRAState* state, int timeoutMs = 5000);

  testing_support::DiagnosticRecorder diagnostics;
  size_t diagnosticsTaken = 0;
  QTemporaryDir dir;
  testing_support::MessageRecorder window;
  std::unique_ptr<QIRAAdap> adap;
  player::FrameReport frame{};
  uint8_t image1[16] = {};
  uint8_t image2[16] = {};
};
