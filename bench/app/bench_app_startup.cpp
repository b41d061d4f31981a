// SPDX-License-Identifier: GPL-3.0-or-later
// Process start to the main window's first paint, judged against a bare Qt
// dialog of the same size started the same way in the same run (interleaved).
// The program starts itself again as a child that runs the application
// exactly as the executable does, reports the monotonic time once the
// window's first paint is done and closes the window; the parent takes the
// time before it forks. The bare dialog is the bare-dialog program beside it.
// Both run on a private X server, as a user's desktop starts them (offscreen
// when Xvfb is missing).
#include "app/CQIRA02App.h"
#include "app/CQIRA02Dlg.h"
#include "bench/support/ChildProcess.h"
#include "bench/support/ViewerApplication.h"
#include "platform/ModulePath.h"
#include "tests/ui/XvfbSession.h"

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRuns = 15;
// The viewer's median against the bare dialog's.
constexpr double kTargetRatio = 1.3;
constexpr char kChildFlag[] = "--first-paint-child";

int64_t monotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Lets the window's first paint run, then reports the time and ends the window.
class FirstPaintReporter : public QObject {
public:
  explicit FirstPaintReporter(int fd) : m_fd(fd) {}

  bool eventFilter(QObject* receiver, QEvent* event) override {
    auto* window = qobject_cast<CQIRA02Dlg*>(receiver);
    if (m_reported || !window || event->type() != QEvent::Paint)
      return false;
    static_cast<QObject*>(window)->event(event);
    const int64_t painted = monotonicNs();
    m_reported = write(m_fd, &painted, sizeof painted) == sizeof painted;
    QTimer::singleShot(0, window, &QDialog::reject);
    return true;
  }

private:
  int m_fd;
  bool m_reported = false;
};

int runChild(int argc, char** argv, int fd) {
  ViewerApplication application(argc, argv);
  FirstPaintReporter reporter(fd);
  application.installEventFilter(&reporter);
  CQIRA02App app;
  app.InitInstance();
  return 0;
}

struct Sample {
  double wallMs;     // before the fork to the first paint
  double childCpuMs; // the child's processor time, user and system, to its end
};

// Negative wall time on failure.
Sample measureOnce(const std::string& program, const std::vector<std::string>& args) {
  const int64_t start = monotonicNs();
  const SelfChild child = StartProgram(program, args, true);
  if (child.pid <= 0)
    return {-1.0, 0.0};
  int64_t painted = 0;
  const bool reported = read(child.readFd, &painted, sizeof painted) == sizeof painted;
  close(child.readFd);
  const ChildExit ended = WaitForChild(child.pid);
  return {reported && ended.succeeded ? double(painted - start) / 1e6 : -1.0, ended.cpuMs};
}

struct Series {
  std::vector<double> wall;
  std::vector<double> cpu;

  bool Add(const Sample& sample) {
    wall.push_back(sample.wallMs);
    cpu.push_back(sample.childCpuMs);
    return sample.wallMs >= 0;
  }
  double Median(std::vector<double>& values) const {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
  }
  void Print(const char* name) {
    const double median = Median(wall);
    std::printf("%s: min %.1f ms, median %.1f ms, max %.1f ms; processor time median %.1f ms\n", name, wall.front(),
                median, wall.back(), Median(cpu));
  }
};

} // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], kChildFlag) == 0) {
    const int fd = std::atoi(argv[2]);
    char* childArgv[] = {argv[0], nullptr};
    int childArgc = 1;
    return runChild(childArgc, childArgv, fd);
  }
  QCoreApplication application(argc, argv);
  XvfbSession server(1280, 1024);
  if (server.IsRunning())
    server.ExportToChildren();
  const std::string bare = platform::executableDir() + "/bare-dialog";
  Series viewer;
  Series dialog;
  for (int run = 0; run < kRuns; ++run) {
    if (!viewer.Add(measureOnce("/proc/self/exe", {kChildFlag})) || !dialog.Add(measureOnce(bare, {}))) {
      std::fprintf(stderr, "bench_app_startup: a window did not paint, or its process failed\n");
      return 1;
    }
  }
  const char* platform = server.IsRunning() ? "Xvfb" : "offscreen";
  std::printf("process start to first paint (%s, %d runs each, interleaved)\n", platform, kRuns);
  viewer.Print("  viewer");
  dialog.Print("  bare Qt dialog of the same size");
  const double ratio = viewer.Median(viewer.wall) / dialog.Median(dialog.wall);
  std::printf("  viewer / bare dialog: %.2fx; target %.1fx: %s\n", ratio, kTargetRatio,
              ratio <= kTargetRatio ? "met" : "MISSED");
  return ratio <= kTargetRatio ? 0 : 1;
}
