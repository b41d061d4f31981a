// SPDX-License-Identifier: GPL-3.0-or-later
// Figures of the player module:
//   (a) whole-process CPU seconds per second of normal-speed playback of a
//       detailed 1280 x 720 and 1920 x 1080, 30 fps recording with sound, from
//       start to end: the module driven through the engine in a process of its
//       own, ffmpeg decoding and scaling to 640 x 480 bgr0 in real time, and
//       mpv with the same scale and no output; interleaved rounds. All three
//       scale and convert in one libswscale pass with the bicubic filter, as
//       the module does; neither contender paints the picture;
//   (b) entry started to first frame report;
//   (c) absolute seek to the first frame report at the new position;
//   (d) peak memory of the process.
// (b) to (d) use the project's own 1280 x 720 recording.
#include "bench/support/ChildProcess.h"
#include "bench/support/EventsUntil.h"
#include "bench/support/ViewerPlacedPlayer.h"
#include "engine/QIRAState.h"
#include "tests/player/EngineHarness.h"
#include "tests/player/TestRecording.h"

#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kFps = 30;
constexpr int kStarts = 5;
constexpr int kCpuRounds = 3;
// A camera writes one-minute recordings; start-up counts once per recording.
constexpr int kCpuSeconds = 60;
// Targets; the timings are judged by their median, as the machine is shared.
constexpr double kFfmpegRatioTarget = 1.15;
constexpr double kMpvRatioTarget = 1.0;
constexpr double kFirstFrameTargetMs = 200.0;
constexpr double kSeekTargetMs = 150.0;
// Between key frames (one a second), so each seek decodes up to its frame.
constexpr double kSeekTargets[] = {30.5, 10.8, 50.3, 20.9, 40.6};
constexpr const char* kPlayOption = "--play";
// The module's picture: bicubic libswscale, 640 x 480 bgr0, one pass.
constexpr const char* kScaleFilter = "scale=640:480:flags=bicubic,format=bgr0";

double milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Figures {
  std::vector<double> values;

  void add(double value) { values.push_back(value); }
  double at(double quantile) const {
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    return sorted.empty() ? -1.0 : sorted[size_t(quantile * double(sorted.size() - 1) + 0.5)];
  }
  double min() const { return at(0.0); }
  double median() const { return at(0.5); }
  double max() const { return at(1.0); }
  bool allValid() const {
    return !values.empty() && std::all_of(values.begin(), values.end(), [](double v) { return v > 0; });
  }
};

// CPU seconds (user + system) of a whole child process, or -1 when it could
// not be started or failed. Its standard output is dropped.
double childCpuSeconds(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& arg : args)
    argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0)
    return -1.0;
  const ChildExit ended = WaitForChild(pid);
  return ended.succeeded ? ended.cpuMs / 1e3 : -1.0;
}

struct Contender {
  const char* name;
  std::vector<std::string> (*command)(const std::string& recording);
};

std::vector<std::string> playerCommand(const std::string& recording) {
  return {"/proc/self/exe", kPlayOption, recording};
}

std::vector<std::string> ffmpegCommand(const std::string& recording) {
  return {"ffmpeg",  "-hide_banner", "-loglevel",  "error", "-nostdin", "-re", "-i",
          recording, "-vf",          kScaleFilter, "-f",    "null",     "-"};
}

std::vector<std::string> mpvCommand(const std::string& recording) {
  return {"mpv", "--no-config", "--really-quiet", "--vo=null", "--ao=null", "--hwdec=no",
          // One filter graph: "scale,format" as separate filters would scale,
          // then convert the colours in a second pass.
          std::string("--vf=lavfi=[") + kScaleFilter + "]", recording};
}

constexpr Contender kContenders[] = {{"player", playerCommand}, {"ffmpeg", ffmpegCommand}, {"mpv", mpvCommand}};
constexpr size_t kContenderCount = std::size(kContenders);

struct CpuResult {
  std::array<Figures, kContenderCount> perSecond;
  Figures ffmpegRatio; // player / ffmpeg within each round
  Figures mpvRatio;
};

// Interleaved rounds, each starting with another contender, so that a change
// in the machine's load falls on all of them alike.
CpuResult measureCpu(const std::string& recording) {
  CpuResult result;
  for (int round = 0; round < kCpuRounds; ++round) {
    std::array<double, kContenderCount> cpu{};
    for (size_t turn = 0; turn < kContenderCount; ++turn) {
      const size_t which = (turn + size_t(round)) % kContenderCount;
      cpu[which] = childCpuSeconds(kContenders[which].command(recording)) / kCpuSeconds;
      result.perSecond[which].add(cpu[which]);
    }
    result.ffmpegRatio.add(cpu[1] > 0 ? cpu[0] / cpu[1] : -1.0);
    result.mpvRatio.add(cpu[2] > 0 ? cpu[0] / cpu[2] : -1.0);
  }
  return result;
}

bool reportCpu(const char* label, const CpuResult& result) {
  std::printf("(a) %s, CPU s per s of playback, whole process, %d rounds (min / median / max):\n", label, kCpuRounds);
  for (size_t i = 0; i < kContenderCount; ++i)
    std::printf("      %-7s %.3f / %.3f / %.3f\n", kContenders[i].name, result.perSecond[i].min(),
                result.perSecond[i].median(), result.perSecond[i].max());
  std::printf("      player / ffmpeg %.2f / %.2f / %.2f (target median <= %.2f)\n", result.ffmpegRatio.min(),
              result.ffmpegRatio.median(), result.ffmpegRatio.max(), kFfmpegRatioTarget);
  std::printf("      player / mpv    %.2f / %.2f / %.2f (target median <= %.2f)\n", result.mpvRatio.min(),
              result.mpvRatio.median(), result.mpvRatio.max(), kMpvRatioTarget);
  const bool ran = std::all_of(result.perSecond.begin(), result.perSecond.end(), [](auto& f) { return f.allValid(); });
  if (!ran)
    std::printf("      a process failed or could not be started\n");
  return ran && result.ffmpegRatio.median() <= kFfmpegRatioTarget && result.mpvRatio.median() <= kMpvRatioTarget;
}

// The child process of (a): plays the recording through the engine in a
// window placed as the viewer places it, from start to end.
int playToEnd(const std::string& recording) {
  EngineHarness harness;
  if (!StartPlayingAsTheViewer(harness, recording))
    return 1;
  const bool ended = runEventsUntil([&] { return harness.mainWindow.ends > 0; }, std::chrono::seconds(4 * kCpuSeconds));
  // As the viewer closes: the player ends, then the engine is told it closed.
  harness.state().ClosePlayer();
  runEventsUntil([&] { return harness.eventCount(player::kEventPlayerEnded) > 0; }, 10s);
  harness.adap.HandleEvent(0, player::kEventClosed);
  return ended ? 0 : 1;
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

// (b) to (d); false when a target was missed.
bool measureStartAndSeek(const std::string& recording) {
  EngineHarness harness;
  // The main window's size and video placements, as the viewer sets them up.
  harness.mainWindow.resize(1010, 790);
  harness.mainWindow.show();
  harness.state().SetVideoPosition(0, 20, 110, 640, 480);
  harness.state().SetVideoPosition(1, 1040, 80, 640, 480);
  Figures startMs;
  for (int start = 0; start < kStarts; ++start) {
    if (harness.openPlayer() != 0) {
      std::fprintf(stderr, "bench_player: the player module did not load\n");
      return false;
    }
    startMs.add(startToFirstFrame(harness, recording));
    if (start + 1 < kStarts) {
      harness.state().ClosePlayer();
      harness.waitForState(0, 10s);
    }
  }
  Figures seekMs;
  for (double target : kSeekTargets) {
    seekMs.add(seekToFrame(harness, target));
    runEventsUntil([] { return false; }, 300ms);
  }
  harness.state().ClosePlayer();
  harness.waitForState(0, 10s);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);

  std::printf("(b) entry started to first frame report: median %.1f ms, worst %.1f ms over %d starts (target < 200)\n",
              startMs.median(), startMs.max(), kStarts);
  std::printf("(c) absolute seek to first frame report: median %.1f ms, worst %.1f ms over %zu seeks (target < 150)\n",
              seekMs.median(), seekMs.max(), std::size(kSeekTargets));
  std::printf("(d) peak memory: %.1f MiB resident\n", usage.ru_maxrss / 1024.0);
  return startMs.allValid() && startMs.median() < kFirstFrameTargetMs && seekMs.allValid() &&
         seekMs.median() < kSeekTargetMs;
}

bool makeRecordings(const QTemporaryDir& dir, std::string& own, std::string& detailed720, std::string& detailed1080) {
  TestRecording::Options options;
  options.width = 1280;
  options.height = 720;
  options.fps = kFps;
  options.seconds = 60;
  options.audio = true;
  own = dir.filePath("own-720p.mp4").toStdString();
  detailed720 = dir.filePath("detailed-720p.mp4").toStdString();
  detailed1080 = dir.filePath("detailed-1080p.mp4").toStdString();
  if (!TestRecording::make(options, own))
    return false;
  options.seconds = kCpuSeconds;
  if (!TestRecording::makeDetailed(options, detailed720))
    return false;
  options.width = 1920;
  options.height = 1080;
  return TestRecording::makeDetailed(options, detailed1080);
}

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc == 3 && std::strcmp(argv[1], kPlayOption) == 0)
    return playToEnd(argv[2]);

  QTemporaryDir dir;
  std::string own, detailed720, detailed1080;
  if (!makeRecordings(dir, own, detailed720, detailed1080)) {
    std::fprintf(stderr, "bench_player: the recordings could not be made\n");
    return 1;
  }
  std::printf("bench_player: (a) on %d s ffmpeg test-source recordings with sound; (b)-(d) on the sample generator's "
              "1280x720, %d fps, 60 s recording with audio\n",
              kCpuSeconds, kFps);
  std::fflush(stdout);
  bool met = reportCpu("1280x720 30 fps", measureCpu(detailed720));
  met = reportCpu("1920x1080 30 fps", measureCpu(detailed1080)) && met;
  met = measureStartAndSeek(own) && met;
  if (!met)
    std::printf("bench_player: a target was missed\n");
  return met ? 0 : 1;
}
