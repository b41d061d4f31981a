// SPDX-License-Identifier: GPL-3.0-or-later
// lumenark-clip: cuts a clip out of one recording, or of recordings played
// one after the other, with its telemetry, whole or not at all.

#include "LumenarkVersion.h"
#include "media/ClipWriter.h"

extern "C" {
#include <libavutil/log.h>
}

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kUsageError = 2;
// A recording was cut short: `lumenark-repair` may bring it back.
constexpr int kCutShort = 3;

constexpr char kUsage[] = "Usage:\n"
                          "  lumenark-clip RECORDING... --from S --to S [--overlay] [--no-gps] [--no-audio]\n"
                          "                [--gpx] [--units kmh|mph] [-o OUT.mp4]\n"
                          "  lumenark-clip --help | --version\n"
                          "\n"
                          "Options:\n"
                          "  --from S, --to S  the in and out marks in seconds from the first recording's\n"
                          "                    start; the recordings play one after the other\n"
                          "  --overlay         burn the date and time, the speed and the position into the\n"
                          "                    picture (encoded again with libx264)\n"
                          "  --no-gps          a private clip: no position anywhere, in the telemetry or on\n"
                          "                    the picture\n"
                          "  --no-audio        leave the sound out\n"
                          "  --gpx             write the clip's track as OUT.gpx beside it\n"
                          "  --units kmh|mph   the speed on the picture (default: kmh)\n"
                          "  -o OUT.mp4        write the clip to OUT.mp4 (default:\n"
                          "                    RECORDING_hhmmss-hhmmss.mp4 in the current folder)\n"
                          "  --help            show this help and exit\n"
                          "  --version         show the version and exit\n";

int usage() {
  std::fputs(kUsage, stderr);
  return kUsageError;
}

bool readSeconds(const std::string& text, double& seconds) {
  char* end = nullptr;
  seconds = std::strtod(text.c_str(), &end);
  return !text.empty() && *end == 0 && std::isfinite(seconds);
}

bool readUnits(const std::string& text, ClipOverlay::Units& units) {
  if (text != "kmh" && text != "mph")
    return false;
  units = text == "kmh" ? ClipOverlay::Units::kKmh : ClipOverlay::Units::kMph;
  return true;
}

bool readOption(const std::vector<std::string>& arguments, size_t& i, ClipWriter::Request& request, int& marks) {
  const std::string& option = arguments[i];
  if (option == "--overlay")
    request.burnIn = true;
  else if (option == "--no-gps")
    request.withPositions = false;
  else if (option == "--no-audio")
    request.withSound = false;
  else if (option == "--gpx")
    request.gpx = true;
  else if (i + 1 >= arguments.size())
    return false;
  else if (option == "-o")
    request.output = arguments[++i];
  else if (option == "--units")
    return readUnits(arguments[++i], request.units);
  else if (option != "--from" && option != "--to")
    return false;
  else if (++marks > 2 || !readSeconds(arguments[++i], option == "--from" ? request.from : request.to))
    return false;
  return true;
}

bool parse(const std::vector<std::string>& arguments, ClipWriter::Request& request) {
  int marks = 0;
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (!arguments[i].empty() && arguments[i][0] != '-')
      request.recordings.push_back(arguments[i]);
    else if (!readOption(arguments, i, request, marks))
      return false;
  }
  request.burnInPosition = request.withPositions;
  return marks == 2 && !request.recordings.empty();
}

void report(const ClipWriter::Result& result) {
  std::printf("%s: %.3f s from %.3f s, %lld picture%s", result.output.c_str(), result.seconds, result.start,
              static_cast<long long>(result.pictures), result.pictures == 1 ? "" : "s");
  if (result.snapped > 0)
    std::printf(", the start snapped %.3f s back to a key picture", result.snapped);
  std::printf("\n%s\n", result.telemetry ? "telemetry kept" : "no telemetry: the recording has none");
  if (!result.gpx.empty())
    std::printf("%s: track written\n", result.gpx.c_str());
}

} // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (AnswersInformation(arguments, kUsage))
    return 0;
  ClipWriter::Request request;
  if (!parse(arguments, request))
    return usage();
  if (request.gpx && !request.withPositions) {
    std::fprintf(stderr, "lumenark-clip: --gpx writes positions, which --no-gps leaves out\n");
    return kUsageError;
  }
  if (request.output.empty())
    request.output = ClipWriter::DefaultName(request.recordings.front(), request.from, request.to);
  av_log_set_level(AV_LOG_ERROR);
  const ClipWriter::Result result = ClipWriter::Write(request);
  if (!result.written) {
    std::fprintf(stderr, "lumenark-clip: %s%s\n", result.error.c_str(),
                 result.cutShort ? " (lumenark-repair can rebuild it)" : "");
    return result.cutShort ? kCutShort : 1;
  }
  report(result);
  return 0;
}
