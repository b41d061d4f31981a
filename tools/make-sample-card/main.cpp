// SPDX-License-Identifier: GPL-3.0-or-later
// Writes sample dash-camera recordings and card trees for the demo, the tests
// and the benchmarks. See --help.

#include "LumenarkVersion.h"
#include "tools/make-sample-card/CardWriter.h"
#include "tools/make-sample-card/CommandLine.h"
#include "tools/make-sample-card/RecordingWriter.h"

#include <cstdio>
#include <exception>
#include <stdexcept>

namespace {

constexpr int kUsageError = 2;

std::vector<CardWriter::Recording> cardRecordings(const CommandLine& line) {
  std::vector<CardWriter::Recording> recordings;
  for (int i = 0; i < line.normalCount; ++i)
    recordings.push_back({false, line.options.seconds});
  for (int i = 0; i < line.eventCount; ++i)
    recordings.push_back({true, line.options.seconds});
  return recordings;
}

int write(const CommandLine& line) {
  try {
    if (line.mode == CommandLine::Mode::Demo)
      CardWriter(line.target).WriteDemo();
    else if (line.mode == CommandLine::Mode::Card && line.driveCount > 0)
      CardWriter(line.target)
          .WriteDrives(line.options, {line.driveCount, line.normalCount, line.driveGapSeconds, line.eventCount});
    else if (line.mode == CommandLine::Mode::Card)
      CardWriter(line.target).Write(line.options, cardRecordings(line));
    else
      RecordingWriter(line.options).Write(line.target);
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make-sample-card: %s\n", error.what());
    return 1;
  }
}

} // namespace

int main(int argc, char** argv) {
  CommandLine line;
  try {
    line = CommandLine::Parse(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::invalid_argument& error) {
    std::fprintf(stderr, "make-sample-card: %s\n%s", error.what(), CommandLine::Usage());
    return kUsageError;
  }
  switch (line.mode) {
  case CommandLine::Mode::None:
    std::fputs(CommandLine::Usage(), stderr);
    return kUsageError;
  case CommandLine::Mode::Help:
    std::fputs(CommandLine::Usage(), stdout);
    return 0;
  case CommandLine::Mode::Version:
    std::fputs(kVersionLine, stdout);
    return 0;
  default:
    return write(line);
  }
}
