// SPDX-License-Identifier: GPL-3.0-or-later
// Export of recordings to CSV as the command writes it, at three lengths
// (6,000, 12,000 and 18,000 positions), every round taking each step once:
// - file not cached (evicted before each step, as when the card is read for
//   the first time), 18,000 positions: export < 50 ms and < 3 x reading the
//   recording's user-data bytes alone;
// - file cached: export < 10 ms per 18,000 positions at every length, and
//   cost linear in the area: per position no length costs more than 1.25 x
//   the shortest. A cached read of the area is one memory copy, so the cached
//   export is not measured against it. With nothing to wait for, it is judged
//   by its processor time, which other work on a shared machine leaves alone.
#include "bench/support/Spread.h"
#include "telemetry/CsvFormat.h"
#include "telemetry/RecordingTelemetry.h"
#include "telemetry/UdatLocator.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRounds = 41;
constexpr int kFps = 30;
constexpr int kSeconds[] = {200, 400, 600};
constexpr double kColdExportLimitMs = 50.0;
constexpr double kColdRatioLimit = 3.0;
constexpr double kCachedLimitMs = 10.0;
constexpr double kCachedLimitPositions = 18000.0;
constexpr double kLinearityLimit = 1.25;

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double processorMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Wall and processor time of one step; negative when it failed.
struct Timing {
  double wallMs = -1.0;
  double processorMs = -1.0;
};

std::string makeRecording(const std::filesystem::path& folder, int seconds) {
  const std::filesystem::path length = folder / std::to_string(seconds);
  std::filesystem::create_directories(length);
  const std::string path = (length / "drf0_20260614_093200.mp4").string();
  const std::string tool =
      (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "make-sample-card").string();
  const std::string command = "'" + tool + "' --recording '" + path + "' --width 64 --height 48 --fps " +
                              std::to_string(kFps) + " --seconds " + std::to_string(seconds) + " --seed 3";
  return std::system(command.c_str()) == 0 ? path : std::string();
}

// Drops the file's pages from the page cache (it was synced after writing).
void evict(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0)
    return;
  fdatasync(fd);
  posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  close(fd);
}

// Writes the export where the command would, so the cost of output counts.
Timing timeExport(const std::string& path, std::FILE* sink, size_t& rows) {
  const auto start = Clock::now();
  const double processorStart = processorMs();
  RecordingTelemetry telemetry;
  if (telemetry.Load(path) != 0)
    return {};
  std::string document;
  CsvFormat().Write(telemetry, "", document);
  std::fwrite(document.data(), 1, document.size(), sink);
  std::fflush(sink);
  rows = telemetry.PositionCount();
  return {millisecondsSince(start), processorMs() - processorStart};
}

double timeRead(const std::string& path, size_t& bytes) {
  const auto start = Clock::now();
  UdatLocator::Area area;
  if (UdatLocator::Locate(path, area) != UdatLocator::kFound)
    return -1.0;
  bytes = area.length;
  return millisecondsSince(start);
}

struct Recording {
  std::string path;
  size_t rows = 0;
  std::vector<double> cachedMs, cachedWallMs;
};

struct ColdFigures {
  std::vector<double> exports, reads;
  size_t bytes = 0;
};

// One round: the longest recording read and exported cold, then every
// recording exported cached.
void measureRound(std::vector<Recording>& recordings, std::FILE* sink, ColdFigures& cold) {
  Recording& longest = recordings.back();
  evict(longest.path);
  cold.reads.push_back(timeRead(longest.path, cold.bytes));
  evict(longest.path);
  cold.exports.push_back(timeExport(longest.path, sink, longest.rows).wallMs);
  for (Recording& recording : recordings) {
    const Timing cached = timeExport(recording.path, sink, recording.rows);
    recording.cachedMs.push_back(cached.processorMs);
    recording.cachedWallMs.push_back(cached.wallMs);
  }
}

bool reportCold(const ColdFigures& cold, size_t rows) {
  const Spread exports = Spread::Of(cold.exports), reads = Spread::Of(cold.reads);
  const double ratio = exports.median / reads.median;
  const bool met = exports.min > 0 && reads.min > 0 && exports.median < kColdExportLimitMs && ratio < kColdRatioLimit;
  std::printf("file not cached, %d rounds:\n"
              "  CSV export of %zu positions: min %.2f ms, median %.2f ms, max %.2f ms\n"
              "  read of the %zu user-data bytes alone: min %.2f ms, median %.2f ms, max %.2f ms\n"
              "  median ratio %.2f; targets export < %.0f ms and < %.0fx the read: %s\n",
              kRounds, rows, exports.min, exports.median, exports.max, cold.bytes, reads.min, reads.median, reads.max,
              ratio, kColdExportLimitMs, kColdRatioLimit, met ? "met" : "MISSED");
  return met;
}

bool reportCached(const std::vector<Recording>& recordings) {
  std::printf("file cached, %d rounds, processor time:\n", kRounds);
  const Recording& shortest = recordings.front();
  const double shortestPerPosition = Spread::Of(shortest.cachedMs).median / double(shortest.rows);
  bool met = true;
  for (const Recording& recording : recordings) {
    const Spread exports = Spread::Of(recording.cachedMs);
    const double perPosition = exports.median / double(recording.rows);
    const double perLimit = perPosition * kCachedLimitPositions;
    const double growth = perPosition / shortestPerPosition;
    const bool lengthMet = exports.min > 0 && perLimit < kCachedLimitMs && growth <= kLinearityLimit;
    const Spread wall = Spread::Of(recording.cachedWallMs);
    std::printf("  CSV export of %zu positions: min %.2f ms, median %.2f ms, max %.2f ms (wall time min %.2f, "
                "median %.2f, max %.2f); %.2f ms per %.0f positions, %.2fx the shortest's cost per position: %s\n",
                recording.rows, exports.min, exports.median, exports.max, wall.min, wall.median, wall.max, perLimit,
                kCachedLimitPositions, growth, lengthMet ? "met" : "MISSED");
    met = met && lengthMet;
  }
  std::printf("  targets: < %.0f ms per %.0f positions, cost per position <= %.2fx the shortest's: %s\n",
              kCachedLimitMs, kCachedLimitPositions, kLinearityLimit, met ? "met" : "MISSED");
  return met;
}

} // namespace

int main() {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "bench_telemetry_export";
  std::vector<Recording> recordings;
  for (int seconds : kSeconds) {
    recordings.emplace_back();
    recordings.back().path = makeRecording(folder, seconds);
    if (recordings.back().path.empty()) {
      std::fprintf(stderr, "bench_telemetry_export: cannot make the recordings\n");
      std::filesystem::remove_all(folder);
      return 1;
    }
  }
  ColdFigures cold;
  std::FILE* sink = std::fopen("/dev/null", "w");
  for (int round = 0; round < kRounds; ++round)
    measureRound(recordings, sink, cold);
  std::fclose(sink);
  std::filesystem::remove_all(folder);
  const bool coldMet = reportCold(cold, recordings.back().rows);
  const bool cachedMet = reportCached(recordings);
  return coldMet && cachedMet ? 0 : 1;
}
