// SPDX-License-Identifier: GPL-3.0-or-later
// What the telemetry display costs while a recording plays through the real
// player module on the offscreen platform:
// - the window's handling of one player notification (GPS and sensor data
//   present), every notification of every run a sample; target: median
//   under 1 ms, so 30 notifications a second stay under 3 % of a core;
// - the processor time of the whole viewer playing the recording against the
//   engine and player module alone, runs interleaved; the difference is the
//   window's and the display's share.
// Each run is a child process started afresh, so no run warms the next.
#include "app/CQIRA02Dlg.h"
#include "bench/support/ChildProcess.h"
#include "bench/support/PlayingViewer.h"
#include "bench/support/Spread.h"
#include "bench/support/ViewerApplication.h"
#include "engine/QIRAAdap.h"
#include "engine/QIRAState.h"
#include "engine/QIRAstat3.h"
#include "engine/QIRAstat9.h"
#include "platform/WindowMessage.h"
#include "tests/player/EngineHarness.h"

#include <QApplication>
#include <QTemporaryDir>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace std::chrono_literals;

namespace {

constexpr int kRunPairs = 3;
constexpr int kRecordingSeconds = 10;
constexpr double kNotifyTargetMs = 1.0;
constexpr auto kPlayTimeout = 120s;
constexpr char kViewerFlag[] = "--viewer";
constexpr char kPlayerFlag[] = "--player";

// Times the window's handling of each notification; the last one of a
// recording waits on purpose and is left out.
class NotifyTimer : public QObject {
public:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (event->type() != platform::WindowMessageEvent::kType)
      return false;
    auto* message = static_cast<platform::WindowMessageEvent*>(event);
    if (message->message() != platform::kMsgPlayerNotify || !qobject_cast<CQIRA02Dlg*>(receiver))
      return false;
    const auto start = std::chrono::steady_clock::now();
    receiver->event(event);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (message->wParam() != uintptr_t(message->lParam()))
      samples.push_back(ms);
    return true;
  }
  std::vector<double> samples;
};

// The viewer as a user runs it: the window opens the player module, the
// recording plays to its end and the window stops it.
int runViewer(const char* file, int fd) {
  NotifyTimer timer;
  return PlayInViewer("bench_display", timer, file, [&](CQIRA02Dlg& window) {
    QIRAAdap* engine = window.Adapter();
    if (!EngineHarness::waitFor([&] { return engine->CurrentState() == engine->StateNumbered(3); }, kPlayTimeout))
      return 3;
    // The window's own stop after the last notification, when it came.
    EngineHarness::waitFor([&] { return !window.IsRecordingOpen(); }, 5s);
    for (double sample : timer.samples)
      if (write(fd, &sample, sizeof sample) != sizeof sample)
        return 4;
    std::fflush(stdout);
    _exit(0);
  });
}

// The engine and the player module with a bare notification window.
int runPlayer(const char* file) {
  int argc = 1;
  char name[] = "bench_display";
  char* argv[] = {name, nullptr};
  ViewerApplication application(argc, argv);
  auto* harness = new EngineHarness(); // outlives the engine's threads
  harness->mainWindow.resize(1010, 790);
  harness->mainWindow.show();
  if (harness->openPlayer() != 0 || harness->open(file) != 0)
    return 2;
  if (!harness->waitForState(3, kPlayTimeout))
    return 3;
  std::fflush(stdout);
  _exit(0);
}

struct Run {
  bool ok = false;
  double cpuMs = 0.0;
  std::vector<double> notifyMs;
};

Run runChild(const char* flag, const std::string& file) {
  const SelfChild child = StartSelf({flag, file}, true);
  Run run;
  double sample = 0.0;
  while (child.pid > 0 && read(child.readFd, &sample, sizeof sample) == sizeof sample)
    run.notifyMs.push_back(sample);
  if (child.pid > 0)
    close(child.readFd);
  const ChildExit ended = WaitForChild(child.pid);
  run.ok = ended.succeeded;
  run.cpuMs = ended.cpuMs;
  return run;
}

} // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], kViewerFlag) == 0)
    return runViewer(argv[2], std::atoi(argv[3]));
  if (argc == 4 && std::strcmp(argv[1], kPlayerFlag) == 0)
    return runPlayer(argv[2]);

  QTemporaryDir dir;
  const std::string recording = dir.filePath(QStringLiteral("drf0_20260614_093200.mp4")).toStdString();
  if (!MakeWindowSizedRecording(recording, kRecordingSeconds)) {
    std::fprintf(stderr, "bench_display: cannot make the recording\n");
    return 1;
  }
  std::vector<double> notify, viewerCpu, playerCpu;
  for (int pair = 0; pair < kRunPairs; ++pair) {
    const Run viewer = runChild(kViewerFlag, recording);
    const Run player = runChild(kPlayerFlag, recording);
    if (!viewer.ok || !player.ok || viewer.notifyMs.empty()) {
      std::fprintf(stderr, "bench_display: a run did not play the recording to its end\n");
      return 1;
    }
    notify.insert(notify.end(), viewer.notifyMs.begin(), viewer.notifyMs.end());
    viewerCpu.push_back(viewer.cpuMs);
    playerCpu.push_back(player.cpuMs);
  }
  const Spread n = Spread::Of(notify);
  const Spread v = Spread::Of(viewerCpu);
  const Spread p = Spread::Of(playerCpu);
  const double seconds = kRecordingSeconds;
  std::printf("one notification handled by the window (offscreen, GPS and sensor data, %zu samples of %d runs): "
              "min %.3f ms, median %.3f ms, max %.3f ms; target median %.1f ms: %s\n",
              notify.size(), kRunPairs, n.min, n.median, n.max, kNotifyTargetMs,
              n.median < kNotifyTargetMs ? "met" : "MISSED");
  std::printf("processor time playing a %d s 640 x 480 recording, %d interleaved runs each:\n"
              "  whole viewer:        min %.0f ms, median %.0f ms, max %.0f ms (%.1f %% of a core)\n"
              "  player module alone: min %.0f ms, median %.0f ms, max %.0f ms (%.1f %% of a core)\n"
              "  the window's share (median difference): %.0f ms, %.1f %% of a core\n",
              kRecordingSeconds, kRunPairs, v.min, v.median, v.max, v.median / seconds / 10.0, p.min, p.median, p.max,
              p.median / seconds / 10.0, v.median - p.median, (v.median - p.median) / seconds / 10.0);
  return n.median < kNotifyTargetMs ? 0 : 1;
}
