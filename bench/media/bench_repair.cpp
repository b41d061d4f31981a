// SPDX-License-Identifier: GPL-3.0-or-later
// The repair of a one-minute 1920 x 1080 30 fps recording cut at 70 % of its
// media data, for H.264 and H.265, with and without AAC sound, as
// `lumenark-repair` runs it: the reference is a short recording of the same
// settings. Warm cache, in this process, the median of a few runs.
//   targets per case: repaired in < 1 s; >= 99 % of the pictures written
//   whole before the cut back; `ffmpeg -v error -i OUT -f null -` silent; the
//   duration within 1 s of the pictures written.
#include "bench/support/PeakMemory.h"
#include "bench/support/Spread.h"
#include "media/RecordingRepair.h"
#include "tests/tools/ContainerInfo.h"
#include "tools/make-sample-card/RecordingWriter.h"

extern "C" {
#include <libavutil/log.h>
}

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kFps = 30;
constexpr int kSeconds = 60;
constexpr double kCut = 0.7;
constexpr int kRuns = 5;
constexpr double kTimeLimitMs = 1000.0;
constexpr double kLeastShareBack = 0.99;
constexpr double kMostDriftSeconds = 1.0;

struct Case {
  const char* name;
  const char* options;
};

const Case kCases[] = {
    {"H.264", "--codec h264"},
    {"H.264 + AAC", "--codec h264 --audio"},
    {"H.265", "--codec h265"},
    {"H.265 + AAC", "--codec h265 --audio"},
};

bool makeRecording(const std::string& path, int seconds, const std::string& options) {
  const std::string tool =
      (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "make-sample-card").string();
  return std::system(("'" + tool + "' --recording '" + path + "' --width 1920 --height 1080 --fps " +
                      std::to_string(kFps) + " --seconds " + std::to_string(seconds) + " " + options)
                         .c_str()) == 0;
}

bool decodesSilently(const std::string& path) {
  const std::string errors = path + ".errors";
  const int status = std::system(("ffmpeg -nostdin -v error -i '" + path + "' -f null - 2>'" + errors + "'").c_str());
  const bool silent = status == 0 && std::filesystem::file_size(errors) == 0;
  std::filesystem::remove(errors);
  return silent;
}

// One case: false when a target is missed or a step fails.
bool run(const Case& test, const std::filesystem::path& folder) {
  const std::string reference = (folder / "drf0_20260614_093200.mp4").string();
  const std::string full = (folder / "full.mp4").string();
  const std::string damaged = (folder / "drf0_20260614_093300.mp4").string();
  if (!makeRecording(reference, 3, std::string(test.options) + " --seed 7") ||
      !makeRecording(full, kSeconds, test.options)) {
    std::printf("  %s: cannot make the recordings\n", test.name);
    return false;
  }
  std::filesystem::copy_file(full, damaged, std::filesystem::copy_options::overwrite_existing);
  RecordingWriter::CutPower(damaged, kCut);
  const ContainerInfo::Counts written = ContainerInfo::WholeBefore(full, int64_t(std::filesystem::file_size(damaged)));

  RecordingRepair::Request request;
  request.damaged = damaged;
  RecordingRepair::Result result;
  std::vector<double> ms;
  peak_memory::Reset();
  const long rssBefore = peak_memory::CurrentKiB();
  for (int i = 0; i < kRuns; ++i) {
    const auto start = std::chrono::steady_clock::now();
    result = RecordingRepair::Run(request);
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  const double growthMiB = double(peak_memory::PeakKiB() - rssBefore) / 1024;
  const ContainerInfo::Counts back = ContainerInfo::WholeBefore(result.output, INT64_MAX);
  const double seconds = ContainerInfo::Seconds(result.output);
  const double share = written.pictures ? double(back.pictures) / double(written.pictures) : 0.0;
  const bool silent = result.repaired && decodesSilently(result.output);
  const Spread time = Spread::Of(ms);
  const bool met = result.repaired && time.median < kTimeLimitMs && share >= kLeastShareBack && silent &&
                   std::fabs(seconds - double(written.pictures) / kFps) <= kMostDriftSeconds;
  std::printf("  %-12s %6.1f MiB cut: %lld/%lld pictures (%.2f %%), %lld/%lld audio frames, %.2f s of %.2f s, "
              "decode %s; time min %.0f ms, median %.0f ms, max %.0f ms; peak memory growth %.1f MiB: %s%s%s\n",
              test.name, double(std::filesystem::file_size(damaged)) / (1 << 20), (long long)back.pictures,
              (long long)written.pictures, 100.0 * share, (long long)back.audioFrames, (long long)written.audioFrames,
              seconds, double(written.pictures) / kFps, silent ? "clean" : "NOT CLEAN", time.min, time.median, time.max,
              growthMiB, met ? "met" : "MISSED", result.error.empty() ? "" : " ", result.error.c_str());
  for (const std::string& path : {reference, full, damaged, result.output})
    std::filesystem::remove(path);
  return met;
}

} // namespace

int main() {
  av_log_set_level(AV_LOG_QUIET);
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "bench_repair";
  std::filesystem::create_directories(folder);
  std::printf("Repair of a one-minute 1920 x 1080 %d fps recording cut at %.0f %% of its media data, "
              "median of %d runs\n",
              kFps, kCut * 100, kRuns);
  bool met = true;
  for (const Case& test : kCases)
    met = run(test, folder) && met;
  std::filesystem::remove_all(folder);
  std::printf("  targets: < %.0f ms, >= %.0f %% of the pictures, a clean decode, duration within %.0f s: %s\n",
              kTimeLimitMs, kLeastShareBack * 100, kMostDriftSeconds, met ? "met" : "MISSED");
  return met ? 0 : 1;
}
