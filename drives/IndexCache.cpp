// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/IndexCache.h"

#include "telemetry/OutputFile.h"
#include "telemetry/RecordingFile.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>

namespace {

constexpr char kMagic[] = "lumenark-index 3";
// A summary holds a point per second; an hour's recording stays far below.
constexpr uint64_t kLargestFile = 4u << 20;
// Degrees are kept in millionths and lengths in milliseconds and millimetres:
// whole numbers read back the same in any locale.
constexpr double kMicro = 1e6;

uint64_t fnv1a(const std::string& text) {
  uint64_t hash = 1469598103934665603ull;
  for (const char c : text)
    hash = (hash ^ uint8_t(c)) * 1099511628211ull;
  return hash;
}

std::string hex(uint64_t value) {
  char text[20];
  std::snprintf(text, sizeof text, "%016" PRIx64, value);
  return text;
}

int64_t scaled(double value, double factor) { return std::llround(value * factor); }

bool readFile(const std::string& path, std::string& text) {
  const RecordingFile file(path);
  if (!file.IsOpen() || file.Size() > kLargestFile)
    return false;
  text.assign(size_t(file.Size()), '\0');
  return file.ReadAt(0, reinterpret_cast<uint8_t*>(text.data()), text.size());
}

} // namespace

std::string IndexCache::DefaultFolder() {
  if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache == '/')
    return std::string(cache) + "/lumenark";
  if (const char* home = std::getenv("HOME"); home && *home)
    return std::string(home) + "/.cache/lumenark";
  return {};
}

std::optional<IndexCache::Key> IndexCache::KeyOf(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
    return std::nullopt;
  return Key{path, uint64_t(info.st_size), int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

std::string IndexCache::FileFor(const std::string& path) const { return m_folder + "/" + hex(fnv1a(path)) + ".idx"; }

std::string IndexCache::Text(const Key& key, const RecordingSummary& summary) const {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out << kMagic << '\n'
      << m_harshKey << '\n'
      << key.path << '\n'
      << key.size << ' ' << key.modifiedNs << '\n'
      << summary.event << ' ' << summary.hasStart << ' ' << summary.start << ' '
      << scaled(summary.durationSeconds, 1000) << ' ' << summary.telemetryCode << ' ' << summary.topSpeedKmh << ' '
      << scaled(summary.distanceMetres, 1000) << ' ' << summary.harshMoments << ' ' << summary.track.size() << '\n';
  for (const RecordingSummary::Point& point : summary.track)
    out << point.second << ' ' << scaled(point.latitude, kMicro) << ' ' << scaled(point.longitude, kMicro) << ' '
        << point.speedKmh << '\n';
  std::string text = out.str();
  return text + "end " + hex(fnv1a(text)) + '\n';
}

std::optional<RecordingSummary> IndexCache::Parse(const std::string& text, const Key& key) const {
  const size_t end = text.rfind("end ");
  if (end == std::string::npos || text.compare(end + 4, std::string::npos, hex(fnv1a(text.substr(0, end))) + '\n'))
    return std::nullopt;
  std::istringstream in(text.substr(0, end));
  in.imbue(std::locale::classic());
  std::string magic, harshKey, path;
  Key stored;
  RecordingSummary summary;
  int64_t durationMs = 0, distanceMm = 0;
  size_t points = 0;
  if (!std::getline(in, magic) || magic != kMagic || !std::getline(in, harshKey) || harshKey != m_harshKey ||
      !std::getline(in, path) || path != key.path || !(in >> stored.size >> stored.modifiedNs) ||
      stored.size != key.size || stored.modifiedNs != key.modifiedNs ||
      !(in >> summary.event >> summary.hasStart >> summary.start >> durationMs >> summary.telemetryCode >>
        summary.topSpeedKmh >> distanceMm >> summary.harshMoments >> points) ||
      points > kLargestFile)
    return std::nullopt;
  summary.track.resize(points);
  for (RecordingSummary::Point& point : summary.track) {
    int64_t latitude = 0, longitude = 0;
    if (!(in >> point.second >> latitude >> longitude >> point.speedKmh))
      return std::nullopt;
    point.latitude = latitude / kMicro;
    point.longitude = longitude / kMicro;
  }
  summary.path = key.path;
  summary.durationSeconds = durationMs / 1000.0;
  summary.distanceMetres = distanceMm / 1000.0;
  return summary;
}

std::optional<RecordingSummary> IndexCache::Load(const Key& key) const {
  std::string text;
  if (m_folder.empty() || !readFile(FileFor(key.path), text))
    return std::nullopt;
  return Parse(text, key);
}

bool IndexCache::Store(const Key& key, const RecordingSummary& summary) const {
  if (m_folder.empty())
    return false;
  std::error_code failed;
  std::filesystem::create_directories(m_folder, failed);
  if (failed)
    return false;
  std::string error;
  // Written from the index's threads: private, so the umask stays untouched.
  return OutputFile::Write(FileFor(key.path), Text(key, summary), error, OutputFile::Access::kPrivate);
}
