// SPDX-License-Identifier: GPL-3.0-or-later
// Writes sample dash-camera recordings and card trees for the demo, the tests
// and the benchmarks. See --help.

#include "tools/make-sample-card/CardWriter.h"
#include "tools/make-sample-card/CommandLine.h"
#include "tools/make-sample-card/RecordingWriter.h"

#include <cstdio>
#include <exception>

namespace {

std::vector<CardWriter::Recording> cardRecordings(const CommandLine& line) {
  std::vector<CardWriter::Recording> recordings;
  for (int i = 0; i < line.normalCount; ++i)
    recordings.push_back({false, line.options.seconds});
  for (int i = 0; i < line.eventCount; ++i)
    recordings.push_back({true, line.options.seconds});
  return recordings;
}

} // namespace

int main(int argc, char** argv) {
  try {
    const CommandLine line = CommandLine::Parse(std::vector<std::string>(argv + 1, argv + argc));
    switch (line.mode) {
    case CommandLine::Mode::None:
      std::fputs(CommandLine::Usage(), stderr);
      return 2;
    case CommandLine::Mode::Help:
      std::fputs(CommandLine::Usage(), stdout);
      return 0;
    case CommandLine::Mode::Demo:
      CardWriter(line.target).WriteDemo();
      break;
    case CommandLine::Mode::Card:
      CardWriter(line.target).Write(line.options, cardRecordings(line));
      break;
    case CommandLine::Mode::Recording:
      RecordingWriter(line.options).Write(line.target);
      break;
    }
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make-sample-card: %s\n", error.what());
    return 1;
  }
}
