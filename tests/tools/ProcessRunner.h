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
  // Runs `command` through the shell, capturing both output streams.
  static Result Run(const std::string& command);
  // A fresh folder under the system's temporary one.
  static std::string TemporaryFolder();
  static std::string ReadFile(const std::string& path);
};
