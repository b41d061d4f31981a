// SPDX-License-Identifier: GPL-3.0-or-later
// A card folder of 10,000 recordings (empty files with the camera's names)
// scanned into the window's list, with the stable sort the library uses; for
// comparison the pairwise swap passes over the same found order.
#include "library/CSortStringArray.h"
#include "library/RecordingList.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

constexpr int kRecordings = 10000;
constexpr int kScanRuns = 7;
constexpr int kSwapPassRuns = 1;
constexpr double kTargetMs = 500.0;

// Names one second apart over several days, made in a shuffled order so the
// folder's own order is not already sorted.
bool makeFolder(const QString& folder) {
  std::vector<int> seconds(kRecordings);
  for (int i = 0; i < kRecordings; ++i)
    seconds[i] = i * 37;
  std::shuffle(seconds.begin(), seconds.end(), std::mt19937(1));
  for (int second : seconds) {
    const int day = 10 + second / 86400;
    const int time = second % 86400;
    const QString name =
        QString::asprintf("drf0_202606%02d_%02d%02d%02d.mp4", day, time / 3600, time / 60 % 60, time % 60);
    QFile file(folder + "/" + name);
    if (!file.open(QIODevice::WriteOnly))
      return false;
  }
  return true;
}

double scanMs(RecordingList& recordings, QListWidget& list, const QString& folder) {
  QElapsedTimer timer;
  timer.start();
  recordings.Clear();
  recordings.ScanRecordingFolder(folder);
  QCoreApplication::processEvents();
  const double ms = double(timer.nsecsElapsed()) / 1e6;
  return list.count() == kRecordings ? ms : -1.0;
}

double swapPassesMs(const QString& folder) {
  CSortStringArray array;
  for (const QString& name : QDir(folder, "*.mp4", QDir::Unsorted, QDir::Files).entryList())
    array.append(folder + "/" + name);
  QElapsedTimer timer;
  timer.start();
  for (bool swapped = array.size() > 1; swapped;) {
    swapped = false;
    for (qsizetype i = 0; i + 1 < array.size(); ++i)
      swapped |= array.SwapIfGreater(i);
  }
  return double(timer.nsecsElapsed()) / 1e6;
}

void report(const char* what, std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  std::printf("%s: min %.1f ms, median %.1f ms, max %.1f ms (%zu runs)\n", what, samples.front(),
              samples[samples.size() / 2], samples.back(), samples.size());
}

} // namespace

int main(int argc, char** argv) {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  QTemporaryDir card;
  const QString folder = card.filePath("EventMovie");
  if (!card.isValid() || !QDir().mkpath(folder) || !makeFolder(folder)) {
    std::fprintf(stderr, "bench_library_scan: cannot make the folder\n");
    return 1;
  }
  QListWidget list;
  QLabel label;
  list.resize(300, 316);
  list.show();
  RecordingList recordings(&list, &label);
  std::vector<double> scans;
  std::vector<double> swapPasses;
  for (int run = 0; run < kScanRuns; ++run) {
    scans.push_back(scanMs(recordings, list, folder));
    if (scans.back() < 0) {
      std::fprintf(stderr, "bench_library_scan: the list is not filled\n");
      return 1;
    }
    if (run < kSwapPassRuns)
      swapPasses.push_back(swapPassesMs(folder));
  }
  std::printf("%d recordings scanned to a filled list (target median under %.0f ms)\n", kRecordings, kTargetMs);
  report("scan with the stable sort", scans);
  report("pairwise swap passes alone, same found order", swapPasses);
  std::sort(scans.begin(), scans.end());
  if (scans[scans.size() / 2] >= kTargetMs) {
    std::printf("bench_library_scan: target missed\n");
    return 1;
  }
  return 0;
}
