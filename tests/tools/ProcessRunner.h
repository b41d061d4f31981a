// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Runs the project's command-line tools as separate processes, the way users
// and scripts run them.
class ProcessRunner {
public:
  struct Result {
    int exitCode = -1;
    std::string out;
    std::string err;
  };

  // A program of the build's bin folder (beside the test binary).
  static std::string Tool(const std::string& name);
  // Runs `command` through the shell, capturing both output streams. With a
  // timeout, a first program still running after that many seconds is ended
  // (exit code 124), so that a test fails instead of hanging.
  static Result Run(const std::string& command, int timeoutSeconds = 0);
  // A fresh folder under the system's temporary one.
  static std::string TemporaryFolder();
  static std::string ReadFile(const std::string& path);
};
