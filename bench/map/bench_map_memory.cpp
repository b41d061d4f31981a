// SPDX-License-Identifier: GPL-3.0-or-later
// The whole viewer's memory while a demo-sized recording plays with the map
// shown: the proportional set size of this process and every process it
// started (the web engine's included), read from /proc/PID/smaps_rollup.
// The viewer runs in this process exactly as the executable sets it up, with
// the real player module; the recording is made by our own tool.
#include "app/CQIRA02Dlg.h"
#include "bench/support/ViewerApplication.h"
#include "engine/QIRAAdap.h"
#include "map/CMapView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr double kTargetMiB = 350.0;
constexpr int kSamples = 15;
constexpr int kSampleEveryMs = 1000;
constexpr int kLoadTimeoutMs = 60000;
// The name the developer Run button opens in the current directory.
const char kRunRecording[] = "drf0_20090108_134109.mp4";

pid_t parentOf(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  const size_t close = line.rfind(')');
  if (close == std::string::npos)
    return 0;
  std::istringstream rest(line.substr(close + 2));
  char state = 0;
  pid_t parent = 0;
  rest >> state >> parent;
  return parent;
}

long pssKiB(pid_t pid) {
  std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
  for (std::string line; std::getline(rollup, line);)
    if (line.rfind("Pss:", 0) == 0)
      return std::atol(line.c_str() + 4);
  return 0;
}

// This process and all its descendants.
double treePssMiB() {
  std::map<pid_t, pid_t> parents;
  for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
    bool number = false;
    const pid_t pid = entry.toInt(&number);
    if (number)
      parents[pid] = parentOf(pid);
  }
  const pid_t self = getpid();
  long total = 0;
  for (const auto& [pid, parent] : parents) {
    pid_t up = pid;
    while (up > 1 && up != self)
      up = parents.count(up) ? parents[up] : 0;
    if (up == self)
      total += pssKiB(pid);
  }
  return double(total) / 1024.0;
}

bool makeRecording(const QString& path) {
  QProcess tool;
  tool.start(QCoreApplication::applicationDirPath() + QStringLiteral("/make-sample-card"),
             {QStringLiteral("--recording"), path, QStringLiteral("--width"), QStringLiteral("640"),
              QStringLiteral("--height"), QStringLiteral("480"), QStringLiteral("--fps"), QStringLiteral("30"),
              QStringLiteral("--seconds"), QStringLiteral("40")});
  return tool.waitForFinished(120000) && tool.exitCode() == 0;
}

} // namespace

int main(int argc, char** argv) {
  ViewerApplication application(argc, argv);
  QTemporaryDir folder;
  if (!folder.isValid() || !makeRecording(folder.filePath(QString::fromLatin1(kRunRecording)))) {
    std::fprintf(stderr, "bench_map_memory: cannot make the recording\n");
    return 1;
  }
  QDir::setCurrent(folder.path());

  CQIRA02Dlg window;
  QSignalSpy bound(&window.Map(), &CMapView::documentBound);
  window.show();
  if (!bound.wait(kLoadTimeoutMs)) {
    std::fprintf(stderr, "bench_map_memory: the map's page did not load\n");
    return 1;
  }
  static_cast<QAbstractButton*>(window.GetDlgItem(IDC_RUN))->click();
  static_cast<QAbstractButton*>(window.GetDlgItem(IDC_PLAY))->click();
  if (!QTest::qWaitFor([&] { return window.IsPlayerRunning(); }, kLoadTimeoutMs)) {
    std::fprintf(stderr, "bench_map_memory: the recording did not start\n");
    return 1;
  }
  std::vector<double> samples;
  for (int n = 0; n < kSamples; ++n) {
    QTest::qWait(kSampleEveryMs);
    samples.push_back(treePssMiB());
  }
  std::sort(samples.begin(), samples.end());
  const bool met = samples.back() < kTargetMiB;
  std::printf("viewer memory while playing with the map (PSS of all its processes, %d samples 1 s apart): "
              "min %.1f MiB, median %.1f MiB, max %.1f MiB; target max < %.0f MiB: %s\n",
              kSamples, samples.front(), samples[samples.size() / 2], samples.back(), kTargetMiB,
              met ? "met" : "MISSED");
  return met ? 0 : 1;
}
