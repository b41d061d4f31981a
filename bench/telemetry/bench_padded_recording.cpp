// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a recording's telemetry as `lumenark-telemetry check` loads it (the
// user-data area located, copied and indexed, the positions counted from the
// video track), for an ordinary one-minute recording and for the same
// recording padded with zeros to 4 GiB (sparse), as a camera that preallocates
// its files leaves it when it loses power. Warm cache; each load runs in a
// fresh child process, so that its peak memory is its own; the two interleaved.
//   targets: padded median time <= 2x the ordinary median, or + 5 ms when that
//   is more; padded peak memory growth <= the ordinary's + 4 MiB in every sample.
#include "bench/support/ChildProcess.h"
#include "bench/support/PeakMemory.h"
#include "bench/support/Spread.h"
#include "telemetry/RecordingTelemetry.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr uint64_t kPaddedBytes = uint64_t{4} << 30;
constexpr int kSamples = 21;
constexpr double kTimeFactor = 2.0;
constexpr double kTimeSlackMs = 5.0;
constexpr double kMemorySlackMiB = 4.0;
constexpr char kSampleFlag[] = "--sample";

// What one load in a child process reports to the parent.
struct Sample {
  int code = -1;
  uint32_t positions = 0;
  double ms = 0.0;
  double growthMiB = 0.0;
};

struct Figures {
  std::vector<double> ms, growthMiB;
  uint32_t positions = 0;
  bool loaded = true;

  void Add(const Sample& sample) {
    loaded = loaded && sample.code == 0;
    positions = sample.positions;
    ms.push_back(sample.ms);
    growthMiB.push_back(sample.growthMiB);
  }
};

int loadInThisProcess(const char* path, int fd) {
  peak_memory::Reset();
  const long rssBefore = peak_memory::CurrentKiB();
  const auto start = std::chrono::steady_clock::now();
  Sample sample;
  {
    RecordingTelemetry telemetry;
    sample.code = telemetry.Load(path);
    sample.positions = telemetry.PositionCount();
  }
  sample.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  sample.growthMiB = double(peak_memory::PeakKiB() - rssBefore) / 1024;
  return ReportToParent(fd, sample);
}

Sample loadInChild(const std::string& path) {
  Sample sample;
  return ReportFromSelf({kSampleFlag, path}, sample) ? sample : Sample{};
}

// A one-minute recording as the camera writes it, by make-sample-card.
bool makeRecording(const std::string& path) {
  const std::string tool =
      (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "make-sample-card").string();
  return std::system(("'" + tool + "' --recording '" + path + "' --seconds 60 --seed 5").c_str()) == 0;
}

void report(const char* name, uint64_t bytes, const Figures& figures) {
  const Spread time = Spread::Of(figures.ms), growth = Spread::Of(figures.growthMiB);
  std::printf("  %s, %.1f MiB, %u positions%s:\n"
              "    time min %.2f ms, median %.2f ms, max %.2f ms\n"
              "    peak memory growth min %.2f MiB, median %.2f MiB, max %.2f MiB\n",
              name, double(bytes) / (1 << 20), figures.positions, figures.loaded ? "" : " (a load FAILED)", time.min,
              time.median, time.max, growth.min, growth.median, growth.max);
}

} // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], kSampleFlag) == 0)
    return loadInThisProcess(argv[2], std::atoi(argv[3]));
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "bench_padded_recording";
  std::filesystem::create_directories(folder);
  const std::string ordinary = (folder / "drf0_20260614_093200.mp4").string();
  const std::string padded = (folder / "drf0_20260614_093300.mp4").string();
  if (!makeRecording(ordinary)) {
    std::fprintf(stderr, "bench_padded_recording: cannot make the recording\n");
    std::filesystem::remove_all(folder);
    return 1;
  }
  const uint64_t ordinaryBytes = std::filesystem::file_size(ordinary);
  std::filesystem::copy_file(ordinary, padded, std::filesystem::copy_options::overwrite_existing);
  std::filesystem::resize_file(padded, kPaddedBytes);

  Figures plain, large;
  loadInChild(ordinary); // warm the cache
  for (int round = 0; round < kSamples; ++round) {
    plain.Add(loadInChild(ordinary));
    large.Add(loadInChild(padded));
  }
  std::filesystem::remove_all(folder);

  const Spread plainTime = Spread::Of(plain.ms), largeTime = Spread::Of(large.ms);
  const double timeLimitMs = std::max(plainTime.median * kTimeFactor, plainTime.median + kTimeSlackMs);
  const double memoryLimitMiB = Spread::Of(plain.growthMiB).max + kMemorySlackMiB;
  const bool met = plain.loaded && large.loaded && large.positions == plain.positions &&
                   largeTime.median <= timeLimitMs && Spread::Of(large.growthMiB).max <= memoryLimitMiB;
  std::printf("Telemetry load as the command loads it, warm cache, %d samples each in a fresh process\n", kSamples);
  report("ordinary recording", ordinaryBytes, plain);
  report("the same padded to 4 GiB (sparse)", kPaddedBytes, large);
  std::printf("  targets: padded median <= %.2f ms, padded peak growth <= %.2f MiB: %s\n", timeLimitMs, memoryLimitMiB,
              met ? "met" : "MISSED");
  return met ? 0 : 1;
}
