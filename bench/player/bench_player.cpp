// SPDX-License-Identifier: GPL-3.0-or-later
// Figures of the player module, driven through the engine on a generated
// 1280 x 720, 30 fps, 60-second recording:
//   (a) CPU seconds per second of normal-speed playback, beside ffmpeg
//       decoding and scaling the same file to 640 x 480 bgr0 in real time;
//   (b) entry started to first frame report;
//   (c) absolute seek to the first frame report at the new position;
//   (d) peak memory of the process.
#include "engine/QIRAState.h"
#include "tests/player/EngineHarness.h"
#include "tests/player/TestRecording.h"

#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kFps = 30;
constexpr int kMeasuredSeconds = 10;
constexpr int kStarts = 5;
// Targets; the timings are judged by their median, as the machine is shared.
constexpr double kCpuRatioTarget = 1.3;
constexpr double kFirstFrameTargetMs = 200.0;
constexpr double kSeekTargetMs = 150.0;
// Between key frames (one a second), so each seek decodes up to its frame.
constexpr double kSeekTargets[] = {30.5, 10.8, 50.3, 20.9, 40.6};

double processCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return double(now.tv_sec) + now.tv_nsec / 1e9;
}

double milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Runs the GUI thread's events for a while without spinning.
void runEvents(std::chrono::milliseconds duration) {
  QEventLoop loop;
  QTimer::singleShot(duration, &loop, &QEventLoop::quit);
  loop.exec();
}

// CPU seconds (user + system) that ffmpeg needs per second of real-time
// decoding and scaling of the first seconds of the recording.
double ffmpegCpuPerSecond(const std::string& recording) {
  const std::string seconds = std::to_string(kMeasuredSeconds);
  std::vector<std::string> args = {"ffmpeg",  "-hide_banner", "-loglevel",     "error",    "-re",  "-t", seconds, "-i",
                                   recording, "-vf",          "scale=640:480", "-pix_fmt", "bgr0", "-f", "null",  "-"};
  std::vector<char*> argv;
  for (std::string& arg : args)
    argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, "ffmpeg", nullptr, nullptr, argv.data(), environ) != 0)
    return -1.0;
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const double cpu =
      usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
  return cpu / kMeasuredSeconds;
}

Clock::time_point firstFrameAt(const EngineHarness& harness, uint32_t index, Clock::time_point after) {
  for (const EngineHarness::Frame& frame : harness.frames()) {
    if (frame.reportedAt >= after && frame.index + 1 >= index && frame.index <= index + 1)
      return frame.reportedAt;
  }
  return Clock::time_point{};
}

// Entry started (its first event) to the first frame report, for one start
// of the player; the player is left playing.
double startToFirstFrame(EngineHarness& harness, const std::string& recording) {
  harness.clearLog();
  harness.open(recording);
  if (!EngineHarness::waitFor([&] { return !harness.frames().empty(); }, 10s))
    return -1.0;
  return milliseconds(harness.frames().front().reportedAt - harness.firstEventAt(player::kEventStopFlag));
}

double seekToFrame(EngineHarness& harness, double target) {
  harness.clearLog();
  const Clock::time_point asked = Clock::now();
  harness.state().Seek(float(target), false);
  const auto index = uint32_t(std::lround(target * kFps));
  Clock::time_point shown{};
  EngineHarness::waitFor([&] { return (shown = firstFrameAt(harness, index, asked)) != Clock::time_point{}; }, 5s);
  return shown == Clock::time_point{} ? -1.0 : milliseconds(shown - asked);
}

void sortFigures(std::vector<double>& figures) { std::sort(figures.begin(), figures.end()); }

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir dir;
  const std::string recording = dir.filePath("bench-720p.mp4").toStdString();
  TestRecording::Options options;
  options.width = 1280;
  options.height = 720;
  options.fps = kFps;
  options.seconds = 60;
  options.audio = true;
  if (!TestRecording::make(options, recording)) {
    std::fprintf(stderr, "bench_player: make-sample-card could not make the recording\n");
    return 1;
  }

  EngineHarness harness;
  // The main window's size and video placements, as the viewer sets them up.
  harness.mainWindow.resize(1010, 790);
  harness.mainWindow.show();
  harness.state().SetVideoPosition(0, 20, 110, 640, 480);
  harness.state().SetVideoPosition(1, 1040, 80, 640, 480);
  // (b) over several starts, each with the module loaded afresh.
  std::vector<double> startMs;
  for (int start = 0; start < kStarts; ++start) {
    if (harness.openPlayer() != 0) {
      std::fprintf(stderr, "bench_player: the player module did not load\n");
      return 1;
    }
    startMs.push_back(startToFirstFrame(harness, recording));
    if (start + 1 < kStarts) {
      harness.state().ClosePlayer();
      harness.waitForState(0, 10s);
    }
  }
  sortFigures(startMs);

  // (a)
  runEvents(1s);
  const double cpuBefore = processCpuSeconds();
  runEvents(std::chrono::seconds(kMeasuredSeconds));
  const double playerCpu = (processCpuSeconds() - cpuBefore) / kMeasuredSeconds;
  const double ffmpegCpu = ffmpegCpuPerSecond(recording);

  // (c)
  std::vector<double> seekMs;
  for (double target : kSeekTargets) {
    seekMs.push_back(seekToFrame(harness, target));
    runEvents(300ms);
  }
  sortFigures(seekMs);

  harness.state().ClosePlayer();
  harness.waitForState(0, 10s);

  // (d)
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);

  std::printf("bench_player: 1280x720, %d fps, 60 s recording with audio\n", kFps);
  std::printf("(a) CPU per second of playback: player %.3f s, ffmpeg %.3f s, ratio %.2f (target <= 1.30)\n", playerCpu,
              ffmpegCpu, ffmpegCpu > 0 ? playerCpu / ffmpegCpu : 0.0);
  std::printf("(b) entry started to first frame report: median %.1f ms, worst %.1f ms over %zu starts (target < 200)\n",
              startMs[startMs.size() / 2], startMs.back(), startMs.size());
  std::printf("(c) absolute seek to first frame report: median %.1f ms, worst %.1f ms over %zu seeks (target < 150)\n",
              seekMs[seekMs.size() / 2], seekMs.back(), seekMs.size());
  std::printf("(d) peak memory: %.1f MiB resident\n", usage.ru_maxrss / 1024.0);

  const bool met = ffmpegCpu > 0 && playerCpu <= kCpuRatioTarget * ffmpegCpu && startMs[startMs.size() / 2] >= 0 &&
                   startMs[startMs.size() / 2] < kFirstFrameTargetMs && seekMs.front() >= 0 &&
                   seekMs[seekMs.size() / 2] < kSeekTargetMs;
  if (!met)
    std::printf("bench_player: a target was missed\n");
  return met ? 0 : 1;
}
