// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the event notes of a recording as a double click does: once with
// the camera's ordinary note file, once with a 50 MB note file of "Date :"
// lines beside it. Each read runs in a fresh child process (warm cache), the
// two kinds interleaved; the time and the peak memory growth of the read are
// taken.
//   target: median time with the 50 MB file at most twice the ordinary
//   median, or the ordinary median + 10 ms, whichever is larger.
#include "bench/support/ChildProcess.h"
#include "bench/support/PeakMemory.h"
#include "bench/support/Spread.h"
#include "library/EventNoteReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kSamples = 15;
constexpr qint64 kLargeBytes = 50LL << 20;
constexpr double kTimeFactor = 2.0;
constexpr double kTimeAllowanceMs = 10.0;
constexpr char kSampleFlag[] = "--sample";
const QByteArray kOrdinaryNote = "Type : G-sensor\r\nDate : 2026/06/14 09:32:21\r\n";
const QByteArray kDateLine = "Date : 2026/06/14 09:32:31\r\n";

// What one read in a child process reports to the parent.
struct Sample {
  int notes = -1;
  double ms = 0.0;
  long growthKiB = 0;
};

bool writeFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A card whose one event recording has `note` as its note file; the
// recording's path, empty when it could not be written.
QString makeCard(const QString& root, const QByteArray& note) {
  const QString recording = QDir::toNativeSeparators(root + "/EventMovie/drf0_20260614_093200.mp4");
  const bool made = writeFile(recording, QByteArray()) && writeFile(root + "/Event/slt_20260614_093200.txt", note);
  return made ? recording : QString();
}

int readInThisProcess(const char* recording, int fd) {
  QStringList notes;
  peak_memory::Reset();
  const long rssBefore = peak_memory::CurrentKiB();
  const auto start = std::chrono::steady_clock::now();
  EventNoteReader::Read(QString::fromLocal8Bit(recording), notes);
  Sample sample;
  sample.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  sample.growthKiB = peak_memory::PeakKiB() - rssBefore;
  sample.notes = int(notes.size());
  return ReportToParent(fd, sample);
}

// A failed child gives a sample without notes.
Sample readInChild(const QString& recording) {
  Sample sample;
  return ReportFromSelf({kSampleFlag, recording.toStdString()}, sample) ? sample : Sample{};
}

struct Figures {
  std::vector<double> ms;
  std::vector<double> growthKiB;
  bool read = true;

  void Add(const Sample& sample) {
    read = read && sample.notes > 0;
    ms.push_back(sample.ms);
    growthKiB.push_back(double(sample.growthKiB));
  }
  void Print(const char* what) const {
    const Spread time = Spread::Of(ms), growth = Spread::Of(growthKiB);
    std::printf("%s%s\n  time min %.3f ms, median %.3f ms, max %.3f ms\n"
                "  peak memory growth min %.0f KiB, median %.0f KiB, max %.0f KiB\n",
                what, read ? "" : " (a read FAILED)", time.min, time.median, time.max, growth.min, growth.median,
                growth.max);
  }
};

} // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], kSampleFlag) == 0)
    return readInThisProcess(argv[2], std::atoi(argv[3]));
  QTemporaryDir cards;
  const QString ordinary = makeCard(cards.filePath("ordinary"), kOrdinaryNote);
  const QString large = makeCard(cards.filePath("large"), kDateLine.repeated(kLargeBytes / kDateLine.size()));
  if (!cards.isValid() || ordinary.isEmpty() || large.isEmpty()) {
    std::fprintf(stderr, "bench_event_notes: cannot make the cards\n");
    return 1;
  }
  Figures ordinaryFigures, largeFigures;
  readInChild(ordinary); // warm the cache and the loader
  readInChild(large);
  for (int round = 0; round < kSamples; ++round) {
    ordinaryFigures.Add(readInChild(ordinary));
    largeFigures.Add(readInChild(large));
  }
  const double ordinaryMedian = Spread::Of(ordinaryFigures.ms).median;
  const double limitMs = std::max(ordinaryMedian * kTimeFactor, ordinaryMedian + kTimeAllowanceMs);
  const bool met = ordinaryFigures.read && largeFigures.read && Spread::Of(largeFigures.ms).median <= limitMs;
  std::printf("Event notes of one recording read as a double click does, warm cache, %d samples each in a fresh "
              "process\n",
              kSamples);
  ordinaryFigures.Print("ordinary note file (2 lines)");
  largeFigures.Print("50 MB note file of \"Date :\" lines");
  std::printf("  target: 50 MB median <= %.3f ms (twice the ordinary median or it + %.0f ms): %s\n", limitMs,
              kTimeAllowanceMs, met ? "met" : "MISSED");
  return met ? 0 : 1;
}
