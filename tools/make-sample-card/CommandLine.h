// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/make-sample-card/RecordingOptions.h"

#include <string>
#include <vector>

// The program's arguments. Parse throws std::invalid_argument with the reason.
class CommandLine {
public:
  enum class Mode { None, Help, Version, Demo, Card, Recording };

  static CommandLine Parse(const std::vector<std::string>& arguments);
  static const char* Usage();

  Mode mode = Mode::None;
  std::string target;
  RecordingOptions options;
  int normalCount = 2;
  int eventCount = 1;
  // With --drives: the normal recordings form that many drives of
  // normalCount recordings each; eventCount event recordings copy their brakes.
  int driveCount = 0;
  int driveGapSeconds = 600;

private:
  void ApplyOption(const std::string& name, const std::string& value);
  static bool TakesValue(const std::string& name);
};
