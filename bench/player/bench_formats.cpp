// SPDX-License-Identifier: GPL-3.0-or-later
// Today's cameras' formats played by the player module through the engine, in
// a window placed as the viewer places it: H.264 and H.265 at 1280 x 720,
// 1920 x 1080, 2560 x 1440 and 3840 x 2160, 30 fps, with sound and a
// user-data box. For each, in a process of its own:
//   - played seconds per second of wall time, first to last frame report
//     (target: 1.00 within 2 %);
//   - the longest time the picture stood still (target: below 250 ms);
//   - the pictures the module dropped to keep time, from its diagnostic line;
//   - CPU seconds per second of the whole process, and of its GUI thread
//     alone (which only paints the 640 x 480 picture, whatever the size).
#include "bench/support/ChildProcess.h"
#include "bench/support/DroppedPictures.h"
#include "bench/support/ViewerApplication.h"
#include "bench/support/ViewerPlacedPlayer.h"
#include "engine/QIRAState.h"
#include "platform/ModulePath.h"
#include "tests/player/EngineHarness.h"
#include "tests/player/TestRecording.h"
#include "tests/support/DiagnosticRecorder.h"

#include <QDir>
#include <QFileInfo>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>

namespace {

using namespace std::chrono_literals;

constexpr int kFps = 30;
constexpr int kSeconds = 6;
constexpr double kRateTolerance = 0.02;
constexpr double kLongestStillTargetMs = 250.0;
constexpr const char* kPlayOption = "--play";

struct Size {
  int width;
  int height;
};
constexpr Size kSizes[] = {{1280, 720}, {1920, 1080}, {2560, 1440}, {3840, 2160}};

struct Codec {
  const char* name;
  // Fast presets: the recordings are made in seconds; cameras' hardware
  // encoders also leave out the costliest tools.
  const char* encoder;
};
constexpr Codec kCodecs[] = {{"H.264", "libx264 -preset veryfast"},
                             {"H.265", "libx265 -preset ultrafast -x265-params log-level=error"}};

// What the child process measured; a plain record sent through a pipe.
struct Playback {
  double playedSeconds = 0.0;
  double wallSeconds = 0.0;
  double longestStillMs = 0.0;
  double guiCpuSeconds = 0.0;
  long dropped = 0;
  long pictures = 0;
};

double cpuSeconds(const rusage& usage) {
  const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

Playback measure(const std::vector<EngineHarness::Frame>& frames) {
  Playback playback;
  if (frames.size() < 2)
    return playback;
  for (size_t i = 1; i < frames.size(); ++i) {
    const double gapMs =
        std::chrono::duration<double, std::milli>(frames[i].reportedAt - frames[i - 1].reportedAt).count();
    playback.longestStillMs = std::max(playback.longestStillMs, gapMs);
  }
  playback.playedSeconds = frames.back().seconds - frames.front().seconds;
  playback.wallSeconds = std::chrono::duration<double>(frames.back().reportedAt - frames.front().reportedAt).count();
  return playback;
}

// The child: plays the recording from start to end and reports to the parent.
int playToEnd(const std::string& recording, int reportFd) {
  const testing_support::DiagnosticRecorder diagnostics;
  EngineHarness harness;
  if (!StartPlayingAsTheViewer(harness, recording))
    return 1;
  if (!EngineHarness::waitFor([&] { return harness.mainWindow.ends > 0; }, std::chrono::seconds(4 * kSeconds)))
    return 1;
  Playback playback = measure(harness.frames());
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  playback.guiCpuSeconds = cpuSeconds(usage);
  playback.dropped = DroppedPictures(diagnostics.text());
  playback.pictures = long(harness.adap.Length());
  harness.state().ClosePlayer();
  harness.waitForState(0, 10s);
  return ReportToParent(reportFd, playback);
}

// Plays in a child process; false when it failed. `processCpu` is the whole
// child's CPU seconds.
bool playInChild(const std::string& recording, Playback& playback, double& processCpu) {
  const SelfChild child = StartSelf({kPlayOption, recording}, true);
  if (child.pid <= 0)
    return false;
  const bool reported = read(child.readFd, &playback, sizeof playback) == ssize_t(sizeof playback);
  close(child.readFd);
  const ChildExit ended = WaitForChild(child.pid);
  processCpu = ended.cpuMs / 1e3;
  return ended.succeeded && reported && playback.wallSeconds > 0.0;
}

// Made under another name first, so that a run cut short leaves no half file.
bool makeOnce(const TestRecording::Options& options, const QString& file) {
  const QString part = file + ".part.mp4";
  return TestRecording::makeDetailed(options, part.toStdString()) && QFile::rename(part, file);
}

bool runCase(const QDir& dir, const std::string& label, const Codec& codec, const Size& size) {
  TestRecording::Options options;
  options.width = size.width;
  options.height = size.height;
  options.fps = kFps;
  options.seconds = kSeconds;
  options.audio = true;
  options.encoder = codec.encoder;
  const QString file = dir.filePath(QString("%1-%2p-%3s.mp4").arg(codec.name).arg(size.height).arg(kSeconds));
  std::printf("%-16s ", label.c_str());
  std::fflush(stdout);
  Playback playback;
  double processCpu = 0.0;
  const bool made = QFileInfo::exists(file) || makeOnce(options, file);
  if (!made || !playInChild(file.toStdString(), playback, processCpu)) {
    std::printf("failed\n");
    return false;
  }
  const double rate = playback.playedSeconds / playback.wallSeconds;
  const bool inTime = std::abs(rate - 1.0) <= kRateTolerance;
  const bool moving = playback.longestStillMs < kLongestStillTargetMs;
  std::printf("%6.3f %6.0f %5ld/%-5ld %6.2f %6.3f %s\n", rate, playback.longestStillMs, playback.dropped,
              playback.pictures, processCpu / playback.wallSeconds, playback.guiCpuSeconds / playback.wallSeconds,
              inTime && moving ? "ok" : "MISSED");
  return inTime && moving;
}

} // namespace

int main(int argc, char** argv) {
  ViewerApplication app(argc, argv);
  if (argc == 4 && std::strcmp(argv[1], kPlayOption) == 0)
    return playToEnd(argv[2], std::atoi(argv[3]));

  const QDir dir(QString::fromStdString(platform::executableDir() + "/bench-formats"));
  if (!dir.mkpath(".")) {
    std::fprintf(stderr, "bench_formats: cannot make %s\n", qPrintable(dir.path()));
    return 1;
  }
  const char* only = argc == 2 ? argv[1] : "";
  std::printf("bench_formats: %d s ffmpeg test-source recordings, %d fps, with sound and a user-data box\n", kSeconds,
              kFps);
  std::printf("codec  size      rate  still   dropped    cpu    gui\n"
              "                 s/s     ms  of pictures   s/s    s/s\n");
  bool met = true;
  for (const Codec& codec : kCodecs) {
    for (const Size& size : kSizes) {
      const std::string label =
          std::string(codec.name) + ' ' + std::to_string(size.width) + 'x' + std::to_string(size.height);
      if (label.find(only) != std::string::npos)
        met = runCase(dir, label, codec, size) && met;
    }
  }
  std::printf("targets: rate 1.00 +/- %.2f, picture still < %.0f ms\n", kRateTolerance, kLongestStillTargetMs);
  if (!met)
    std::printf("bench_formats: a target was missed\n");
  return met ? 0 : 1;
}
