// SPDX-License-Identifier: GPL-3.0-or-later
// LocateUserData on a 1 GiB recording whose 2 MiB user-data area sits at the
// end, warm cache: time and peak memory growth, beside plain reads of the
// whole file, the two interleaved. Each load runs in a fresh child process,
// so no memory freed before it can be reused and hide what it takes.
//   targets: median time < 50 ms; peak growth < the area + 16 MiB in every sample.
#include "bench/support/ChildProcess.h"
#include "bench/support/PeakMemory.h"
#include "bench/support/Spread.h"
#include "engine/QIRAAdap.h"
#include "tests/support/BoxWriter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr uint64_t kFileBytes = uint64_t{1} << 30;
constexpr uint32_t kAreaRecords = 2 * 1024 * 1024 / (4 + 76 + 12);
constexpr int kSamples = 15;
constexpr double kTimeTargetMs = 50.0;
constexpr double kGrowthAboveAreaMiB = 16.0;
constexpr char kSampleFlag[] = "--sample";

double millisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void writeRecording(const std::string& path) {
  const std::vector<uint8_t> area = testing_support::BoxWriter::udat(kAreaRecords, {"$GPRMC,1"});
  testing_support::BoxWriter head;
  const uint64_t mdatBytes = kFileBytes - area.size() - 16;
  head.box("ftyp", {'i', 's', 'o', 'm'})
      .raw(testing_support::bigEndian32(uint32_t(mdatBytes)))
      .raw({'m', 'd', 'a', 't'});
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(head.bytes().data()), std::streamsize(head.bytes().size()));
  std::vector<char> chunk(1 << 20);
  for (size_t i = 0; i < chunk.size(); ++i)
    chunk[i] = char(i * 31);
  for (uint64_t left = mdatBytes - 8; left > 0;) {
    const uint64_t n = std::min<uint64_t>(left, chunk.size());
    out.write(chunk.data(), std::streamsize(n));
    left -= n;
  }
  out.write(reinterpret_cast<const char*>(area.data()), std::streamsize(area.size()));
}

double readWholeFileMs(const std::string& path) {
  std::vector<char> buffer(1 << 20);
  const auto start = std::chrono::steady_clock::now();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file)
    return -1.0;
  while (std::fread(buffer.data(), 1, buffer.size(), file) == buffer.size()) {
  }
  std::fclose(file);
  return millisecondsSince(start);
}

// What one load in a child process reports to the parent.
struct Sample {
  int code = -1;
  double ms = 0.0;
  double areaMiB = 0.0;
  double growthMiB = 0.0;
};

int loadInThisProcess(const char* path, int fd) {
  QIRAAdap adap(nullptr);
  adap.StorePaths(path, path);
  peak_memory::Reset();
  const long rssBefore = peak_memory::CurrentKiB();
  const auto start = std::chrono::steady_clock::now();
  Sample sample;
  sample.code = adap.LoadUserData();
  sample.ms = millisecondsSince(start);
  sample.growthMiB = double(peak_memory::PeakKiB() - rssBefore) / 1024;
  sample.areaMiB = double(adap.Telemetry().AreaBytes()) / (1 << 20);
  return ReportToParent(fd, sample);
}

// A failed child gives a sample with code -1.
Sample loadInChild(const std::string& path) {
  Sample sample;
  return ReportFromSelf({kSampleFlag, path}, sample) ? sample : Sample{};
}

} // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], kSampleFlag) == 0)
    return loadInThisProcess(argv[2], std::atoi(argv[3]));
  const std::string path = argc > 1 ? argv[1] : "/tmp/lumenark-bench-1gib.mp4";
  writeRecording(path);
  readWholeFileMs(path); // warm the cache

  std::vector<double> loadMs, growthMiB, wholeMs;
  double areaMiB = 0.0;
  bool loaded = true;
  for (int round = 0; round < kSamples; ++round) {
    const Sample sample = loadInChild(path);
    loaded = loaded && sample.code == 0;
    loadMs.push_back(sample.ms);
    growthMiB.push_back(sample.growthMiB);
    areaMiB = sample.areaMiB;
    wholeMs.push_back(readWholeFileMs(path));
  }
  std::remove(path.c_str());

  const Spread load = Spread::Of(loadMs), growth = Spread::Of(growthMiB), whole = Spread::Of(wholeMs);
  const double limitMiB = areaMiB + kGrowthAboveAreaMiB;
  const bool met = loaded && load.median < kTimeTargetMs && growth.max < limitMiB;
  std::printf("LoadUserData on a 1 GiB recording, area %.2f MiB, warm cache, %d samples each in a fresh process%s\n"
              "  time min %.2f ms, median %.2f ms, max %.2f ms (target median < %.0f ms)\n"
              "  peak memory growth min %.2f MiB, median %.2f MiB, max %.2f MiB (target max < the area + %.0f = "
              "%.2f MiB)\n"
              "  whole-file read, interleaved: min %.1f ms, median %.1f ms, max %.1f ms\n"
              "  %s\n",
              areaMiB, kSamples, loaded ? "" : " (a load FAILED)", load.min, load.median, load.max, kTimeTargetMs,
              growth.min, growth.median, growth.max, kGrowthAboveAreaMiB, limitMiB, whole.min, whole.median, whole.max,
              met ? "met" : "MISSED");
  return met ? 0 : 1;
}
