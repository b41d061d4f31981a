// SPDX-License-Identifier: GPL-3.0-or-later
// LocateUserData on a 1 GiB recording whose 2 MiB user-data area sits at the
// end: time and peak memory, beside one plain read of the whole file.
#include "engine/QIRAAdap.h"
#include "tests/support/BoxWriter.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr uint64_t kFileBytes = uint64_t{1} << 30;
constexpr uint32_t kAreaRecords = 2 * 1024 * 1024 / (4 + 76 + 12);

long statusKiB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0)
      return std::stol(line.substr(std::strlen(field) + 1));
  }
  return 0;
}

// Restarts the kernel's peak-RSS mark at the current RSS.
void resetPeakRss() { std::ofstream("/proc/self/clear_refs") << "5"; }

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
  while (std::fread(buffer.data(), 1, buffer.size(), file) == buffer.size()) {
  }
  std::fclose(file);
  return millisecondsSince(start);
}

} // namespace

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : "/tmp/lumenark-bench-1gib.mp4";
  writeRecording(path);
  readWholeFileMs(path); // warm the cache

  QIRAAdap adap(nullptr);
  adap.StorePaths(path.c_str(), path.c_str());
  resetPeakRss();
  const long rssBefore = statusKiB("VmRSS:");
  const auto start = std::chrono::steady_clock::now();
  const int code = adap.LoadUserData();
  const double locateMs = millisecondsSince(start);
  const long rssGrowth = statusKiB("VmHWM:") - rssBefore;
  const double wholeMs = readWholeFileMs(path);
  std::remove(path.c_str());

  const double areaMiB = double(adap.m_Telemetry.Lock().length) / (1 << 20);
  const double growthMiB = double(rssGrowth) / 1024;
  const double limitMiB = areaMiB + 16;
  std::fprintf(stderr,
               "LoadUserData code %d, area %.2f MiB\n"
               "  time %.2f ms (target < 50), whole-file read %.1f ms\n"
               "  peak memory growth %.2f MiB (target < the area + 16 = %.2f MiB)\n",
               code, areaMiB, locateMs, wholeMs, growthMiB, limitMiB);
  return code == 0 && locateMs < 50 && growthMiB < limitMiB ? 0 : 1;
}
