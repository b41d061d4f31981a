// SPDX-License-Identifier: GPL-3.0-or-later
// Figures of the player module:
//   (a) like with like, under one X server that this benchmark starts (Xvfb,
//       a free display it picks itself): the whole viewer (build/bin/lumenark
//       with the recording on its command line, as a user starts it, its map
//       included) against mpv showing the same recording in a 640 x 480 X11
//       window with the viewer's scaling, and ffmpeg decoding and scaling to
//       the window's size in real time as a floor; interleaved, three rounds,
//       on the sample generator's 30 fps recordings with sound at 1280 x 720,
//       1920 x 1080 and 3840 x 2160 in H.264 and 3840 x 2160 in H.265. CPU:
//       user and system seconds per second of playback of each process with
//       all its descendants (the web engine's renderer and helpers counted),
//       while it plays, start-up and end left out; the medians judged. There
//       is no sound device here: the viewer's sound output falls back to
//       null, mpv's is null;
//   (b) entry started to first frame report;
//   (c) absolute seek to the first frame report at the new position;
//   (d) peak memory of the process.
// (b) to (d) use the project's own 1280 x 720 recording.
#include "bench/support/DroppedPictures.h"
#include "bench/support/EventsUntil.h"
#include "bench/support/ProcessTreeCpu.h"
#include "bench/support/ViewerPlacedPlayer.h"
#include "bench/support/WatchedChild.h"
#include "engine/QIRAState.h"
#include "platform/ModulePath.h"
#include "tests/player/EngineHarness.h"
#include "tests/player/TestRecording.h"
#include "tests/ui/XvfbSession.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kFps = 30;
constexpr int kStarts = 5;
constexpr int kCpuRounds = 3;
// Short enough for the whole benchmark to take about ten minutes.
constexpr int kFairSeconds = 14;
// The viewer lists the folder and loads its map page as the first picture
// shows; what playing costs is measured after that and before the end.
constexpr auto kSettle = 3s;
constexpr auto kBeforeEnd = 1s;
// Targets; the timings are judged by their median, as the machine is shared.
constexpr double kFirstFrameTargetMs = 200.0;
constexpr double kSeekTargetMs = 150.0;
// Between key frames (one a second), so each seek decodes up to its frame.
constexpr double kSeekTargets[] = {30.5, 10.8, 50.3, 20.9, 40.6};
// The window's picture: bicubic libswscale into 640 x 480 keeping the shape,
// bgr0, one pass.
constexpr const char* kScaleFilter = "scale=640:480:force_original_aspect_ratio=decrease:flags=bicubic,format=bgr0";

struct FairCase {
  const char* codec; // as the sample generator names it
  const char* codecName;
  int width;
  int height;
  double target; // the viewer's CPU at most this times mpv's
};
constexpr FairCase kFairCases[] = {{"h264", "H.264", 1280, 720, 1.0},
                                   {"h264", "H.264", 1920, 1080, 1.0},
                                   {"h264", "H.264", 3840, 2160, 1.0},
                                   {"h265", "H.265", 3840, 2160, 1.2}};

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

// The viewer, mpv and ffmpeg on one recording, as command lines.
struct Contender {
  const char* name;
  std::vector<std::string> (*command)(const std::string& recording);
  // The output line that says the first picture is shown; none: the process's
  // start stands for it.
  const char* startLine;
  // The output line that says the recording ended; none: the process's end.
  const char* endLine;
};

std::vector<std::string> viewerCommand(const std::string& recording) {
  return {platform::executableDir() + "/lumenark", recording};
}

// The same window size and scaling as the viewer's picture; the rest as mpv
// plays by default.
std::vector<std::string> mpvCommand(const std::string& recording) {
  return {"mpv",
          "--no-config",
          "--msg-level=all=no,cplayer=info",
          "--vo=x11",
          "--ao=null",
          "--hwdec=no",
          "--geometry=640x480",
          "--no-border",
          "--no-audio-display",
          "--sws-scaler=bicubic",
          "--sws-fast=yes",
          "--sws-allow-zimg=no",
          recording};
}

std::vector<std::string> ffmpegCommand(const std::string& recording) {
  return {"ffmpeg",  "-hide_banner", "-loglevel",  "error", "-nostdin", "-re", "-i",
          recording, "-vf",          kScaleFilter, "-f",    "null",     "-"};
}

constexpr Contender kContenders[] = {{"viewer", viewerCommand, "decoding in ", "State transition : from 1 to 3"},
                                     {"mpv", mpvCommand, "VO: ", ""},
                                     {"ffmpeg", ffmpegCommand, "", ""}};
constexpr size_t kContenderCount = std::size(kContenders);
constexpr size_t kViewer = 0, kMpv = 1;

struct Run {
  double cpuPerSecond = -1.0; // -1: failed
  double playedPerSecond = 0.0;
  long dropped = 0;
};

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The machine's load over the last 1, 5 and 15 minutes, as one line.
std::string loadAverage() {
  std::ifstream file("/proc/loadavg");
  std::string one, five, fifteen;
  file >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen + "\n";
}

// One contender from its first picture to the recording's end; the CPU of
// its whole process tree is measured between kSettle after the first picture
// and kBeforeEnd before the end, where only playing costs.
Run playOnce(const Contender& contender, const std::string& recording, const std::vector<std::string>& environment) {
  Run run;
  WatchedChild child(contender.command(recording), environment);
  if (!child.Started() || (*contender.startLine && !child.WaitForLine(contender.startLine, Clock::now() + 60s)))
    return run;
  const Clock::time_point started = Clock::now();
  const Clock::time_point expectedEnd = started + std::chrono::seconds(kFairSeconds);
  child.WaitForLine("", started + kSettle);
  const Clock::time_point from = Clock::now();
  const double cpuFrom = process_tree::CpuSeconds(child.Pid());
  child.WaitForLine("", expectedEnd - kBeforeEnd);
  const Clock::time_point to = Clock::now();
  const double cpuTo = process_tree::CpuSeconds(child.Pid());
  const bool ended = *contender.endLine
                         ? child.WaitForLine(contender.endLine, expectedEnd + 2 * (expectedEnd - started))
                         : !child.WaitForLine("", expectedEnd + 2 * (expectedEnd - started)) && child.OutputEnded();
  const double playedFor = seconds(Clock::now() - started);
  child.Stop();
  if (ended && cpuFrom > 0) {
    run.cpuPerSecond = (cpuTo - cpuFrom) / seconds(to - from);
    run.playedPerSecond = kFairSeconds / playedFor;
    run.dropped = DroppedPictures(child.Output());
  }
  return run;
}

struct CpuResult {
  std::array<Figures, kContenderCount> cpu;
  std::array<Figures, kContenderCount> played;
  Figures viewerToMpv; // within each round
  long viewerDropped = 0;
};

// Interleaved rounds, each starting with another contender, so that a change
// in the machine's load falls on all of them alike.
CpuResult measureCpu(const std::string& recording, const std::vector<std::string>& environment) {
  CpuResult result;
  for (int round = 0; round < kCpuRounds; ++round) {
    std::array<Run, kContenderCount> runs;
    for (size_t turn = 0; turn < kContenderCount; ++turn) {
      const size_t which = (turn + size_t(round)) % kContenderCount;
      runs[which] = playOnce(kContenders[which], recording, environment);
      result.cpu[which].add(runs[which].cpuPerSecond);
      result.played[which].add(runs[which].playedPerSecond);
    }
    result.viewerToMpv.add(runs[kMpv].cpuPerSecond > 0 ? runs[kViewer].cpuPerSecond / runs[kMpv].cpuPerSecond : -1.0);
    result.viewerDropped = std::max(result.viewerDropped, runs[kViewer].dropped);
  }
  return result;
}

std::string label(const FairCase& fair) {
  return std::to_string(fair.width) + "x" + std::to_string(fair.height) + " " + fair.codecName;
}

bool reportCpu(const FairCase& fair, const CpuResult& result) {
  std::printf("(a) %s, CPU s per s of playback (min / median / max), played s per s (median):\n", label(fair).c_str());
  for (size_t i = 0; i < kContenderCount; ++i)
    std::printf("      %-7s %.3f / %.3f / %.3f   %.3f%s\n", kContenders[i].name, result.cpu[i].min(),
                result.cpu[i].median(), result.cpu[i].max(), result.played[i].median(),
                i == kContenderCount - 1 ? "  (floor)" : "");
  const double ratio = result.cpu[kViewer].median() / result.cpu[kMpv].median();
  const bool ran = std::all_of(result.cpu.begin(), result.cpu.end(), [](auto& f) { return f.allValid(); });
  const bool met = ran && ratio <= fair.target;
  std::printf("      viewer / mpv: medians %.2f (target <= %.2f) %s; per round %.2f / %.2f / %.2f; viewer dropped up "
              "to %ld pictures\n",
              ratio, fair.target, met ? "met" : "MISSED", result.viewerToMpv.min(), result.viewerToMpv.median(),
              result.viewerToMpv.max(), result.viewerDropped);
  if (!ran)
    std::printf("      a process failed, could not be started or did not play to the end\n");
  std::fflush(stdout);
  return met;
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

bool makeOwnRecording(const QTemporaryDir& dir, std::string& own) {
  TestRecording::Options options;
  options.width = 1280;
  options.height = 720;
  options.fps = kFps;
  options.seconds = 60;
  options.audio = true;
  own = dir.filePath("own-720p.mp4").toStdString();
  return TestRecording::make(options, own);
}

// The sample generator's recording for a case, alone in its folder as on a
// card with one recording, kept beside the benchmark for later runs; empty
// when it could not be made. Made under another name first, so that a run cut
// short leaves no half file.
std::string fairRecording(const QDir& store, const FairCase& fair) {
  const QString folder = store.filePath(QString("%1-%2p-%3s").arg(fair.codec).arg(fair.height).arg(kFairSeconds));
  const QString file = folder + "/drf0_20260614_093200.mp4", part = folder + ".part.mp4";
  if (QFileInfo::exists(file))
    return file.toStdString();
  const std::string command = "'" + platform::executableDir() + "/make-sample-card' --recording '" +
                              part.toStdString() + "' --seconds " + std::to_string(kFairSeconds) + " --width " +
                              std::to_string(fair.width) + " --height " + std::to_string(fair.height) + " --codec " +
                              fair.codec + " --audio >/dev/null";
  const bool made = QDir().mkpath(folder) && std::system(command.c_str()) == 0 && QFile::rename(part, file);
  return made ? file.toStdString() : std::string();
}

// What every contender runs with: the benchmark's X server, and for the
// viewer private settings and caches, and its web engine allowed to run as
// root (it ends the process otherwise).
std::vector<std::string> fairEnvironment(const XvfbSession& server, const QTemporaryDir& home) {
  const std::string root = home.path().toStdString();
  std::vector<std::string> environment = {"XDG_CONFIG_HOME=" + root + "/config", "XDG_CACHE_HOME=" + root + "/cache",
                                          "XDG_RUNTIME_DIR=" + root};
  for (const auto& [name, value] : server.Variables())
    environment.push_back((name + QLatin1Char('=') + value).toStdString());
  if (geteuid() == 0)
    environment.push_back("QTWEBENGINE_DISABLE_SANDBOX=1");
  return environment;
}

// (a) for every case whose label holds `only`; false when a target was missed.
bool measureFair(const std::string& only) {
  const XvfbSession server(1280, 1024);
  const QTemporaryDir home;
  const QDir store(QString::fromStdString(platform::executableDir() + "/bench-player"));
  if (!server.IsRunning() || !home.isValid() || !store.mkpath(".")) {
    std::printf("(a) not measured: Xvfb did not start, or no folder for the recordings\n");
    return false;
  }
  const std::vector<std::string> environment = fairEnvironment(server, home);
  std::printf("(a) %d s recordings with sound, %d fps, under Xvfb %s; load average %s", kFairSeconds, kFps,
              qPrintable(server.Display()), loadAverage().c_str());
  std::fflush(stdout);
  bool met = true;
  for (const FairCase& fair : kFairCases) {
    if (label(fair).find(only) == std::string::npos)
      continue;
    const std::string recording = fairRecording(store, fair);
    if (recording.empty()) {
      std::printf("(a) %s: the recording could not be made\n", label(fair).c_str());
      met = false;
      continue;
    }
    met = reportCpu(fair, measureCpu(recording, environment)) && met;
  }
  std::printf("(a) load average at the end %s", loadAverage().c_str());
  return met;
}

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir dir;
  std::string own;
  if (!makeOwnRecording(dir, own)) {
    std::fprintf(stderr, "bench_player: the recordings could not be made\n");
    return 1;
  }
  // A size and codec named ("3840x2160 H.265") measures (a) for it alone.
  bool met = measureFair(argc == 2 ? argv[1] : "");
  std::printf("bench_player: (b)-(d) on the sample generator's 1280x720, %d fps, 60 s recording with audio\n", kFps);
  met = measureStartAndSeek(own) && met;
  if (!met)
    std::printf("bench_player: a target was missed\n");
  return met ? 0 : 1;
}
