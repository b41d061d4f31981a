// SPDX-License-Identifier: GPL-3.0-or-later
// What the card overview costs in memory: the viewer started on a card of
// 2,000 one-minute recordings (hard links, see HardLinkedCard.h) with an empty
// index cache, run in a child process once with the card overview opened and
// its index done and once without, each then left to settle. Two figures per
// run: the viewer process's peak resident memory, and the proportional memory
// of the viewer with its web engine helper processes at the end (the map
// pages are drawn there). Rounds alternate; medians are compared.
//   target: the overview's share of the viewer's peak under 100 MiB.
#include "app/CQIRA02Dlg.h"
#include "bench/support/ChildProcess.h"
#include "bench/support/EventsUntil.h"
#include "bench/support/HardLinkedCard.h"
#include "bench/support/PeakMemory.h"
#include "bench/support/Spread.h"
#include "bench/support/ViewerApplication.h"
#include "overview/CardOverview.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <set>

namespace {

using namespace std::chrono_literals;

constexpr int kRecordings = 2000;
constexpr int kPerDrive = 30;
constexpr int kRounds = 3;
constexpr double kTargetMiB = 100.0;
constexpr char kChildFlag[] = "--overview-memory-child";

struct Report {
  long peakKiB = 0; // the viewer process
  long treeKiB = 0; // proportional, with its helper processes
};

// Proportional set size in KiB of a process; 0 when it is gone.
long pssKiB(int pid) {
  std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
  std::string field;
  long value = 0;
  while (rollup >> field) {
    if (field == "Pss:" && rollup >> value)
      return value;
  }
  return 0;
}

// This process and every process started under it.
long treePssKiB() {
  std::map<int, int> parentOf;
  for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
    bool number = false;
    const int pid = entry.toInt(&number);
    std::ifstream stat("/proc/" + entry.toStdString() + "/stat");
    std::string line;
    if (!number || !std::getline(stat, line) || line.rfind(')') == std::string::npos)
      continue;
    // "pid (name) state ppid ...": the name may hold spaces.
    char state = 0;
    int parent = 0;
    if (std::sscanf(line.c_str() + line.rfind(')') + 1, " %c %d", &state, &parent) == 2)
      parentOf[pid] = parent;
  }
  std::set<int> tree{int(getpid())};
  for (bool grew = true; grew;) {
    grew = false;
    for (const auto& [pid, parent] : parentOf)
      if (tree.count(parent) && tree.insert(pid).second)
        grew = true;
  }
  long total = 0;
  for (const int pid : tree)
    total += pssKiB(pid);
  return total;
}

QAction* overviewAction(const CQIRA02Dlg& window) {
  for (QAction* action : window.SystemMenu()->actions())
    if (action->text() == QStringLiteral("Card overview..."))
      return action;
  return nullptr;
}

int runChild(int argc, char** argv, const QString& folder, bool withOverview, int fd) {
  ViewerApplication application(argc, argv);
  CQIRA02Dlg window;
  window.SetStartFolder(folder);
  window.show();
  runEventsUntil([&] { return window.Recordings().Recordings().size() == kRecordings; }, 30s);
  // The index read for playing on, in both runs.
  runEventsUntil([] { return false; }, 4s);
  if (withOverview) {
    QAction* open = overviewAction(window);
    if (!open)
      return 1;
    open->trigger();
    auto* overview = window.findChild<CardOverview*>();
    bool indexed = false;
    if (overview)
      QObject::connect(overview, &CardOverview::indexed, [&indexed] { indexed = true; });
    if (!overview || !runEventsUntil([&] { return indexed; }, 120s) || !overview->Drives())
      return 1;
  }
  // The map pages draw the tracks.
  runEventsUntil([] { return false; }, 5s);
  return ReportToParent(fd, Report{peak_memory::PeakKiB(), treePssKiB()});
}

double medianMiB(std::vector<double> kib) { return Spread::Of(std::move(kib)).median / 1024; }

} // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::strcmp(argv[1], kChildFlag) == 0) {
    char* childArgv[] = {argv[0], nullptr};
    int childArgc = 1;
    return runChild(childArgc, childArgv, argv[2], std::strcmp(argv[3], "with") == 0, std::atoi(argv[4]));
  }
  QTemporaryDir root, config;
  if (!root.isValid() || !hard_linked_card::Make(root.path().toStdString(), kRecordings, kPerDrive)) {
    std::fprintf(stderr, "bench_overview_memory: make-sample-card failed\n");
    return 1;
  }
  setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
  const std::string folder = root.filePath("card/NormalMovie").toStdString();
  std::vector<double> peakWithout, peakWith, treeWithout, treeWith;
  for (int round = 0; round < kRounds; ++round) {
    for (const bool with : {false, true}) {
      // Each run starts with an empty index cache.
      QTemporaryDir cache;
      setenv("XDG_CACHE_HOME", cache.path().toLocal8Bit().constData(), 1);
      Report report;
      if (!ReportFromSelf({kChildFlag, folder, with ? "with" : "without"}, report)) {
        std::fprintf(stderr, "bench_overview_memory: a viewer run failed\n");
        return 1;
      }
      (with ? peakWith : peakWithout).push_back(double(report.peakKiB));
      (with ? treeWith : treeWithout).push_back(double(report.treeKiB));
    }
  }
  const double peakShare = medianMiB(peakWith) - medianMiB(peakWithout);
  std::printf("card overview on %d recordings, %d rounds (medians): viewer peak RSS %.1f MiB without, %.1f MiB "
              "with, the overview's share %.1f MiB (target < %.0f MiB); with web engine helpers (PSS at the end) "
              "%.1f MiB without, %.1f MiB with, share %.1f MiB\n",
              kRecordings, kRounds, medianMiB(peakWithout), medianMiB(peakWith), peakShare, kTargetMiB,
              medianMiB(treeWithout), medianMiB(treeWith), medianMiB(treeWith) - medianMiB(treeWithout));
  return peakShare < kTargetMiB ? 0 : 1;
}
