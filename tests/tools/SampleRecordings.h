// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tests/tools/ProcessRunner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A test with a private folder for the recordings it makes with the real
// make-sample-card; small pictures keep the encoding quick.
class SampleRecordings : public ::testing::Test {
protected:
  static constexpr int kFps = 10;
  // Far beyond any command's run on a small recording.
  static constexpr int kTelemetryTimeoutSeconds = 60;

  void SetUp() override;
  void TearDown() override;

  // Writes FOLDER/NAME with the given extra options; fails the test when the
  // generator fails.
  std::string MakeRecording(const std::string& name, int seconds, const std::string& options = "");
  // Runs lumenark-telemetry, ended after kTelemetryTimeoutSeconds.
  ProcessRunner::Result Telemetry(const std::string& arguments);
  // A small file system of its own at FOLDER/name, unmounted when the test
  // ends; false where mounting needs a root the test does not have.
  bool Mount(const std::string& name, const std::string& options);

  std::string m_folder;
  std::vector<std::string> m_mounts;
};
