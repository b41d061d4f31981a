// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/ReferenceFinder.h"

#include "media/DamagedRecording.h"
#include "media/ReferenceMatch.h"
#include "media/ReferenceRecording.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <vector>

namespace {

bool isRecordingName(const std::string& name) {
  std::string lower = name;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".mp4") == 0;
}

// The recordings named before `damaged`, nearest first.
std::vector<std::filesystem::path> earlierRecordings(const std::filesystem::path& damaged) {
  std::vector<std::filesystem::path> earlier;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(damaged.parent_path(), error)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file(error) && isRecordingName(name) && name < damaged.filename().string())
      earlier.push_back(entry.path());
  }
  std::sort(earlier.begin(), earlier.end(), std::greater<>());
  return earlier;
}

} // namespace

bool ReferenceFinder::Find(const DamagedRecording& damaged, ReferenceRecording& reference, std::string& error) {
  std::filesystem::path path(damaged.Path());
  if (!path.has_parent_path())
    path = std::filesystem::path(".") / path;
  for (const auto& candidate : earlierRecordings(path)) {
    std::string ignored;
    if (reference.Open(candidate.string(), ignored) && ReferenceMatch::Mismatch(damaged, reference).empty())
      return true;
  }
  error =
      damaged.Path() + ": no earlier healthy recording with the same settings in its folder; pick one as the reference";
  return false;
}
