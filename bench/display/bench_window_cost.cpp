// SPDX-License-Identifier: GPL-3.0-or-later
// The window's own processor time while a 640 x 480 recording plays in the
// real viewer with the real player module, on a private X server as a user
// without a graphics processor sees it (offscreen when Xvfb is missing).
// Over the middle of the recording, per thread from /proc: the whole viewer
// (its threads and the web engine's processes) less the player module's
// threads (libmpv's "mpv/..." threads, its decoders' and the engine's threads,
// which carry the program's own name). The rest is the window: telemetry
// drawing, the map, the copies to the screen. Of it, the part spent showing
// the video picture (the module's own window, on the GUI thread: put onto the
// X server's screen, or painted) is shown too.
//   target: the window's share at most 3 % of a core (median of the runs).
#include "app/CQIRA02Dlg.h"
#include "bench/support/ChildProcess.h"
#include "bench/support/EventsUntil.h"
#include "bench/support/PlayingViewer.h"
#include "bench/support/Spread.h"
#include "bench/support/ViewerApplication.h"
#include "engine/QIRAAdap.h"
#include "tests/ui/XvfbSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

using namespace std::chrono_literals;

namespace {

constexpr int kRuns = 5;
constexpr int kRecordingSeconds = 20;
constexpr int kFirstMeasuredSecond = 4;
constexpr int kLastMeasuredSecond = 16;
constexpr double kTargetPercent = 3.0;
constexpr auto kPlayTimeout = 120s;
constexpr char kViewerFlag[] = "--viewer";

// Processor seconds of one thread or process from its stat line.
double statSeconds(const QString& statPath) {
  QFile file(statPath);
  if (!file.open(QIODevice::ReadOnly))
    return 0.0;
  const QByteArray line = file.readLine(4096);
  const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
  // utime and stime are the 14th and 15th fields, the 12th and 13th after the name.
  if (fields.size() < 13)
    return 0.0;
  return (fields[11].toDouble() + fields[12].toDouble()) / double(sysconf(_SC_CLK_TCK));
}

QString threadName(const QString& taskPath) {
  QFile file(taskPath + QStringLiteral("/comm"));
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readLine(64)).trimmed() : QString();
}

// The web engine's processes under `pid`, their own children included.
double descendantSeconds(const QString& pid) {
  double seconds = 0.0;
  const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
  for (const QString& tid : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    QFile children(tasks + QLatin1Char('/') + tid + QStringLiteral("/children"));
    if (!children.open(QIODevice::ReadOnly))
      continue;
    for (const QByteArray& child : children.readAll().split(' ')) {
      if (child.trimmed().isEmpty())
        continue;
      const QString childPid = QString::fromLatin1(child.trimmed());
      seconds += statSeconds(QStringLiteral("/proc/%1/stat").arg(childPid)) + descendantSeconds(childPid);
    }
  }
  return seconds;
}

struct Times {
  double whole = 0.0;
  double player = 0.0;
  // The window's side by thread name, the web engine's processes as one.
  std::map<QString, double> windowByName;
};

// Threads that carry the program's name besides the GUI thread were started
// by the engine or the player module; libmpv names its own "mpv/...".
Times readTimes() {
  Times times;
  const QString self = QString::number(getpid());
  const QString programName = threadName(QStringLiteral("/proc/self/task/") + self);
  const QDir tasks(QStringLiteral("/proc/self/task"));
  for (const QString& tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    const QString path = tasks.filePath(tid);
    const double seconds = statSeconds(path + QStringLiteral("/stat"));
    const QString name = threadName(path);
    times.whole += seconds;
    if (tid != self && (name.startsWith(QLatin1String("mpv/")) || name == programName))
      times.player += seconds;
    else
      times.windowByName[tid == self ? QStringLiteral("GUI thread") : name] += seconds;
  }
  const double webEngine = descendantSeconds(self);
  times.whole += webEngine;
  times.windowByName[QStringLiteral("web engine's processes")] = webEngine;
  return times;
}

double threadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// The GUI thread's time showing the player module's video windows: their
// paint events and the queued calls that put a new picture on the screen.
class VideoPaintTimer : public QObject {
public:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    const bool showing = event->type() == QEvent::Paint || event->type() == QEvent::MetaCall;
    if (!counting || !showing || !receiver->inherits("VideoWindow"))
      return false;
    const double start = threadCpuSeconds();
    receiver->event(event);
    seconds += threadCpuSeconds() - start;
    return true;
  }
  bool counting = false;
  double seconds = 0.0;
};

struct Report {
  double wallSeconds = 0.0;
  double wholeSeconds = 0.0;
  double playerSeconds = 0.0;
  double videoPaintSeconds = 0.0;
  char largestWindowThreads[256] = {};
};

// The window's threads that took most, as "name 1.2 %, ...".
void nameLargest(const Times& before, const Times& after, double wall, Report& report) {
  std::vector<std::pair<double, QString>> spent;
  for (const auto& [name, seconds] : after.windowByName) {
    const auto earlier = before.windowByName.find(name);
    spent.emplace_back(seconds - (earlier == before.windowByName.end() ? 0.0 : earlier->second), name);
  }
  std::sort(spent.rbegin(), spent.rend());
  QStringList parts;
  for (size_t i = 0; i < std::min<size_t>(spent.size(), 4); ++i)
    parts << QStringLiteral("%1 %2 %").arg(spent[i].second).arg(spent[i].first / wall * 100.0, 0, 'f', 1);
  std::snprintf(report.largestWindowThreads, sizeof report.largestWindowThreads, "%s",
                parts.join(QStringLiteral(", ")).toUtf8().constData());
}

int runViewer(const char* file, int fd) {
  VideoPaintTimer paints;
  return PlayInViewer("bench_window_cost", paints, file, [&](CQIRA02Dlg& window) {
    QIRAAdap* engine = window.Adapter();
    // The event loop itself, not a polling wait, so the waiting costs nothing.
    if (!runEventsUntil([&] { return engine->PlayedSeconds() >= kFirstMeasuredSecond; }, kPlayTimeout))
      return 3;
    const Times before = readTimes();
    const auto start = std::chrono::steady_clock::now();
    paints.counting = true;
    if (!runEventsUntil([&] { return engine->PlayedSeconds() >= kLastMeasuredSecond; }, kPlayTimeout))
      return 3;
    paints.counting = false;
    const Times after = readTimes();
    Report report;
    report.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    report.wholeSeconds = after.whole - before.whole;
    report.playerSeconds = after.player - before.player;
    report.videoPaintSeconds = paints.seconds;
    nameLargest(before, after, report.wallSeconds, report);
    const int written = ReportToParent(fd, report);
    std::fflush(stdout);
    _exit(written);
  });
}

double percent(double seconds, double wall) { return wall > 0.0 ? seconds / wall * 100.0 : 0.0; }

} // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], kViewerFlag) == 0)
    return runViewer(argv[2], std::atoi(argv[3]));

  QCoreApplication application(argc, argv);
  XvfbSession server(1280, 1024);
  if (server.IsRunning())
    server.ExportToChildren();
  QTemporaryDir dir;
  const std::string recording = dir.filePath(QStringLiteral("drf0_20260614_093200.mp4")).toStdString();
  if (!MakeWindowSizedRecording(recording, kRecordingSeconds)) {
    std::fprintf(stderr, "bench_window_cost: cannot make the recording\n");
    return 1;
  }
  std::vector<double> whole, player, window, videoPaint;
  for (int run = 0; run < kRuns; ++run) {
    Report report;
    std::fflush(stdout); // the child would write what is buffered once more
    if (!ReportFromSelf({kViewerFlag, recording}, report)) {
      std::fprintf(stderr, "bench_window_cost: a run did not play the recording\n");
      return 1;
    }
    whole.push_back(percent(report.wholeSeconds, report.wallSeconds));
    player.push_back(percent(report.playerSeconds, report.wallSeconds));
    window.push_back(percent(report.wholeSeconds - report.playerSeconds, report.wallSeconds));
    videoPaint.push_back(percent(report.videoPaintSeconds, report.wallSeconds));
    std::printf("run %d, the window's largest: %s\n", run + 1, report.largestWindowThreads);
  }
  double load[3] = {};
  getloadavg(load, 3);
  const auto line = [](const char* label, const std::vector<double>& values) {
    const Spread s = Spread::Of(values);
    std::printf("  %-44s min %5.1f %%, median %5.1f %%, max %5.1f %% of a core\n", label, s.min, s.median, s.max);
  };
  std::printf("playing a 640 x 480 recording in the viewer (%s), seconds %d to %d, %d runs (load average %.2f):\n",
              server.IsRunning() ? "Xvfb" : "offscreen", kFirstMeasuredSecond, kLastMeasuredSecond, kRuns, load[0]);
  line("whole viewer (web engine's processes too):", whole);
  line("player module's threads:", player);
  line("the window's share:", window);
  line("  of it, showing the video picture:", videoPaint);
  const double share = Spread::Of(window).median;
  std::printf("the window's share %.1f %% of a core; target at most %.1f %%: %s\n", share, kTargetPercent,
              share <= kTargetPercent ? "met" : "MISSED");
  return share <= kTargetPercent ? 0 : 1;
}
