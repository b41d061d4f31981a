// SPDX-License-Identifier: GPL-3.0-or-later
// Indexing a card of 2,000 one-minute recordings at 30 fps (hard links of a
// few generated recordings under the camera's names, a drive of 30 minutes
// each) and grouping it into drives: the first index with an empty cache and
// the files in the disk cache, then the same card again from the index cache;
// and the peak memory an index adds, the overview's share beyond its window.
//   targets: first index under 2 s, from the cache under 0.2 s (medians);
//   memory growth under 100 MiB.
#include "bench/support/HardLinkedCard.h"
#include "bench/support/PeakMemory.h"
#include "bench/support/Spread.h"
#include "drives/CardDrives.h"
#include "drives/CardIndex.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kRecordings = 2000;
constexpr int kPerDrive = 30;
constexpr int kSamples = 5;
constexpr double kFirstIndexTargetS = 2.0;
constexpr double kCachedTargetS = 0.2;
constexpr double kMemoryTargetMiB = 100.0;

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
  if (!hard_linked_card::Make(root, kRecordings, kPerDrive)) {
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
