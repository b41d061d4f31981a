// SPDX-License-Identifier: GPL-3.0-or-later
// Indexing a card of 2,000 one-minute recordings at 30 fps (hard links of a
// few generated recordings under the camera's names, a drive of 30 minutes
// each) and grouping it into drives: the first index with an empty cache and
// the files in the disk cache, then the same card again from the index cache;
// and the peak memory an index adds, the overview's share beyond its window.
//   targets: first index under 2 s, from the cache under 0.2 s (medians);
//   memory growth under 100 MiB.
#include "bench/support/PeakMemory.h"
#include "bench/support/Spread.h"
#include "drives/CardDrives.h"
#include "drives/CardIndex.h"
#include "drives/CardTime.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kRecordings = 2000;
constexpr int kGenerated = 4;
constexpr int kPerDrive = 30;
constexpr int kDriveGapSeconds = 3600;
constexpr int kSamples = 5;
constexpr double kFirstIndexTargetS = 2.0;
constexpr double kCachedTargetS = 0.2;
constexpr double kMemoryTargetMiB = 100.0;
constexpr int64_t kCardStart = 1781429520; // 2026-06-14 09:32:00

std::string tool(const char* name) {
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / name).string();
}

// Stamp text of a moment, as the camera names its recordings.
std::string stamp(int64_t seconds) {
  const std::string date = CardTime::Date(seconds), time = CardTime::TimeOfDay(seconds);
  return date.substr(0, 4) + date.substr(5, 2) + date.substr(8, 2) + "_" + time.substr(0, 2) + time.substr(3, 2) +
         time.substr(6, 2);
}

bool makeCard(const std::string& root) {
  const std::string generated = root + "/generated", card = root + "/card/NormalMovie";
  std::filesystem::create_directories(generated);
  std::filesystem::create_directories(card);
  for (int i = 0; i < kGenerated; ++i) {
    const std::string command = "'" + tool("make-sample-card") + "' --recording '" + generated + "/" +
                                std::to_string(i) + ".mp4' --seconds 60 --fps 30 --width 160 --height 120 --seed " +
                                std::to_string(i + 1);
    if (std::system(command.c_str()) != 0)
      return false;
  }
  int64_t start = kCardStart;
  for (int i = 0; i < kRecordings; ++i) {
    std::filesystem::create_hard_link(generated + "/" + std::to_string(i % kGenerated) + ".mp4",
                                      card + "/drf0_" + stamp(start) + ".mp4");
    start += 60 + ((i + 1) % kPerDrive == 0 ? kDriveGapSeconds : 0);
  }
  return true;
}

// Seconds to index the card and group it; the drive count in `drives`.
double timeIndex(const std::string& card, const std::string& cache, size_t& drives, size_t& unreadable) {
  const auto begin = std::chrono::steady_clock::now();
  CardIndex::Options options;
  options.cacheFolder = cache;
  const CardDrives grouped(CardIndex::ReadCard(card, options).recordings);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  drives = grouped.Drives().size();
  unreadable = 0;
  for (const RecordingSummary& recording : grouped.Recordings())
    unreadable += recording.Readable() ? 0 : 1;
  return seconds;
}

} // namespace

int main() {
  const std::string root = (std::filesystem::temp_directory_path() / "lumenark-bench-drives").string();
  std::filesystem::remove_all(root);
  if (!makeCard(root)) {
    std::fprintf(stderr, "bench_drives: make-sample-card failed\n");
    return 1;
  }
  const std::string card = root + "/card";
  size_t drives = 0, unreadable = 0;
  peak_memory::Reset();
  const long before = peak_memory::CurrentKiB();
  timeIndex(card, "", drives, unreadable); // also warms the disk cache
  const double growthMiB = double(peak_memory::PeakKiB() - before) / 1024;
  std::vector<double> first, cached;
  for (int sample = 0; sample < kSamples; ++sample) {
    const std::string cache = root + "/cache" + std::to_string(sample);
    first.push_back(timeIndex(card, cache, drives, unreadable));
    cached.push_back(timeIndex(card, cache, drives, unreadable));
  }
  std::filesystem::remove_all(root);
  const Spread firstSpread = Spread::Of(first), cachedSpread = Spread::Of(cached);
  std::printf("  %d one-minute recordings at 30 fps, %zu drives, %zu unreadable, %u threads:\n"
              "    first index (empty cache, warm disk) min %.3f s, median %.3f s, max %.3f s (target < %.1f s)\n"
              "    from the cache                      min %.3f s, median %.3f s, max %.3f s (target < %.1f s)\n"
              "    peak memory growth of an index %.1f MiB (target < %.0f MiB)\n",
              kRecordings, drives, unreadable, std::thread::hardware_concurrency(), firstSpread.min, firstSpread.median,
              firstSpread.max, kFirstIndexTargetS, cachedSpread.min, cachedSpread.median, cachedSpread.max,
              kCachedTargetS, growthMiB, kMemoryTargetMiB);
  const bool met = firstSpread.median < kFirstIndexTargetS && cachedSpread.median < kCachedTargetS &&
                   growthMiB < kMemoryTargetMiB &&
                   drives == size_t(kRecordings / kPerDrive + (kRecordings % kPerDrive ? 1 : 0)) && unreadable == 0;
  return met ? 0 : 1;
}
