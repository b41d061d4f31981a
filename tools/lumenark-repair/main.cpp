// SPDX-License-Identifier: GPL-3.0-or-later
// lumenark-repair: rebuilds a recording cut short by a power loss from its
// media data and a healthy recording of the same camera and settings.

#include "LumenarkVersion.h"
#include "media/RecordingRepair.h"

extern "C" {
#include <libavutil/log.h>
}

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kUsageError = 2;

constexpr char kUsage[] = "Usage:\n"
                          "  lumenark-repair DAMAGED.mp4 [--reference GOOD.mp4] [-o OUT.mp4]\n"
                          "  lumenark-repair --help | --version\n"
                          "\n"
                          "Options:\n"
                          "  --reference GOOD.mp4  take the stream descriptions from GOOD.mp4 (default: the\n"
                          "                        nearest earlier healthy recording with the same settings)\n"
                          "  -o OUT.mp4            write the repaired recording to OUT.mp4 (default:\n"
                          "                        DAMAGED_repaired.mp4 beside DAMAGED.mp4)\n"
                          "  --help                show this help and exit\n"
                          "  --version             show the version and exit\n";

int usage() {
  std::fputs(kUsage, stderr);
  return kUsageError;
}

bool parse(const std::vector<std::string>& arguments, RecordingRepair::Request& request) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if ((argument == "--reference" || argument == "-o") && i + 1 < arguments.size())
      (argument == "-o" ? request.output : request.reference) = arguments[++i];
    else if (request.damaged.empty() && !argument.empty() && argument[0] != '-')
      request.damaged = argument;
    else
      return false;
  }
  return !request.damaged.empty();
}

void report(const RecordingRepair::Result& result) {
  std::printf("%s: %lld pictures (%lld key), %lld audio frames, from reference %s\n", result.output.c_str(),
              static_cast<long long>(result.pictures), static_cast<long long>(result.keyPictures),
              static_cast<long long>(result.audioFrames), result.reference.c_str());
  if (result.soundLeftOut)
    std::printf("sound left out: it could not be recovered reliably; the picture is repaired\n");
  if (result.skippedBytes > 0)
    std::printf("%llu bytes of neither stream skipped\n", static_cast<unsigned long long>(result.skippedBytes));
  if (result.telemetryKept)
    std::printf("telemetry kept\n");
}

} // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (AnswersInformation(arguments, kUsage))
    return 0;
  RecordingRepair::Request request;
  if (!parse(arguments, request))
    return usage();
  // The audio probe tries lengths that are meant to fail.
  av_log_set_level(AV_LOG_QUIET);
  const RecordingRepair::Result result = RecordingRepair::Run(request);
  if (!result.repaired) {
    std::fprintf(stderr, "lumenark-repair: %s\n", result.error.c_str());
    return 1;
  }
  report(result);
  return 0;
}
