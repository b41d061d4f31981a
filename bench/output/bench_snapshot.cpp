// SPDX-License-Identifier: GPL-3.0-or-later
// Whether saving a snapshot stalls playback: the real player module plays a
// generated 640 x 480, 30 fps recording through the engine while the GUI
// thread saves snapshots as the Snap button does. Rounds with a snapshot and
// rounds without one alternate; for each round the longest gap between two
// frame reports in the window around its middle is taken.
//
// Target: the median longest gap around a snapshot is at most the median
// longest gap of the rounds without one plus one frame period (33 ms), so a
// snapshot costs playback no more than one late frame.
#include "engine/QIRAState.h"
#include "output/FrameCapture.h"
#include "tests/player/EngineHarness.h"
#include "tests/player/TestRecording.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kFps = 30;
constexpr int kRounds = 24; // half of them with a snapshot
constexpr auto kBeforeMiddle = 250ms;
constexpr auto kAfterMiddle = 350ms;
constexpr auto kWindowBefore = 100ms;
constexpr auto kWindowAfter = 300ms;
constexpr double kFramePeriodMs = 1000.0 / kFps;

double milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void runEvents(std::chrono::milliseconds duration) {
  QEventLoop loop;
  QTimer::singleShot(duration, &loop, &QEventLoop::quit);
  loop.exec();
}

// The longest gap between two frame reports that touches [from, to].
double longestGap(const std::vector<EngineHarness::Frame>& frames, Clock::time_point from, Clock::time_point to) {
  double longest = 0.0;
  for (size_t i = 1; i < frames.size(); ++i) {
    if (frames[i].reportedAt < from || frames[i - 1].reportedAt > to)
      continue;
    longest = std::max(longest, milliseconds(frames[i].reportedAt - frames[i - 1].reportedAt));
  }
  return longest;
}

struct Figures {
  std::vector<double> values;
  double median() const { return values[values.size() / 2]; }
  void print(const char* what) {
    std::sort(values.begin(), values.end());
    std::printf("%s: min %.1f ms, median %.1f ms, max %.1f ms over %zu\n", what, values.front(), median(),
                values.back(), values.size());
  }
};

// A 30-second recording in `folder`; empty when the generator failed.
std::string makeRecording(const QTemporaryDir& folder) {
  const std::string path = folder.filePath("bench-snapshot.mp4").toStdString();
  TestRecording::Options options;
  options.width = FrameCapture::kWidth;
  options.height = FrameCapture::kHeight;
  options.fps = kFps;
  options.seconds = 30;
  return TestRecording::make(options, path) ? path : std::string();
}

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir dir;
  const std::string recording = makeRecording(dir);
  if (recording.empty()) {
    std::fprintf(stderr, "bench_snapshot: make-sample-card could not make the recording\n");
    return 1;
  }
  QDir::setCurrent(dir.path());

  EngineHarness harness;
  harness.mainWindow.resize(1010, 790);
  harness.mainWindow.show();
  harness.state().SetVideoPosition(0, 20, 110, 640, 480);
  if (harness.openPlayer() != 0 || harness.open(recording) != 0 ||
      !EngineHarness::waitFor([&] { return harness.frames().size() > size_t(kFps); }, 20s)) {
    std::fprintf(stderr, "bench_snapshot: the player module did not play the recording\n");
    return 1;
  }

  FrameCapture capture;
  std::vector<Clock::time_point> middles;
  Figures snapshotMs;
  for (int round = 0; round < kRounds; ++round) {
    runEvents(kBeforeMiddle);
    middles.push_back(Clock::now());
    if (round % 2 == 0) {
      capture.CopyFrame(harness.adap);
      capture.CaptureFrame(&harness.mainWindow);
      snapshotMs.values.push_back(milliseconds(Clock::now() - middles.back()));
    }
    runEvents(kAfterMiddle);
  }
  const std::vector<EngineHarness::Frame> frames = harness.frames();
  harness.state().ClosePlayer();
  harness.waitForState(0, 10s);

  Figures withSnapshot;
  Figures without;
  for (int round = 0; round < kRounds; ++round) {
    const double gap = longestGap(frames, middles[round] - kWindowBefore, middles[round] + kWindowAfter);
    (round % 2 == 0 ? withSnapshot : without).values.push_back(gap);
  }
  const int saved = QDir(dir.path()).entryList({"CAP*.bmp"}, QDir::Files).size();

  std::printf("bench_snapshot: 640x480, %d fps; %d rounds, %d snapshot files written\n", kFps, kRounds, saved);
  snapshotMs.print("snapshot on the GUI thread (copy, BMP, write)");
  withSnapshot.print("longest frame-report gap around a snapshot");
  without.print("longest frame-report gap without a snapshot");
  const double limit = without.median() + kFramePeriodMs;
  std::printf("target: median around a snapshot <= %.1f ms (median without + one frame period)\n", limit);
  const bool met = saved > 0 && withSnapshot.median() > 0 && withSnapshot.median() <= limit;
  if (!met)
    std::printf("bench_snapshot: the target was missed\n");
  return met ? 0 : 1;
}
