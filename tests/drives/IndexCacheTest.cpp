// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/CardIndex.h"
#include "tests/tools/SampleRecordings.h"

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    files.push_back(entry.path().string());
  return files;
}

void replaceInFile(const std::string& path, const std::string& from, const std::string& to) {
  std::string text = ProcessRunner::ReadFile(path);
  const size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << text;
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text.replace(at, from.size(), to);
}

using CardIndexCache = SampleRecordings;

// What the cache holds stands for the recording only while the recording is
// the same file, and only when the cache file is whole.
TEST_F(CardIndexCache, CacheIsTrustedOnlyWhileItHoldsTheSameFile) {
  const struct {
    const char* fault;
    std::function<void(const std::string& cacheFile)> spoil;
    double seconds;
  } cases[] = {
      {"unchanged", [](const std::string&) {}, 5},
      {"recording replaced", [this](const std::string&) { MakeRecording("drf0_20260614_093200.mp4", 8, "--seed 3"); },
       8},
      {"a value changed", [](const std::string& file) { replaceInFile(file, " 5000 ", " 9000 "); }, 5},
      {"cut short",
       [](const std::string& file) { std::filesystem::resize_file(file, std::filesystem::file_size(file) / 2); }, 5},
      {"not a file",
       [](const std::string& file) {
         std::filesystem::remove(file);
         std::filesystem::create_directory(file);
       },
       5},
  };
  for (const auto& spoiled : cases) {
    const std::string cache = m_folder + "/cache";
    std::filesystem::remove_all(cache);
    const std::string recording = MakeRecording("drf0_20260614_093200.mp4", 5);
    const CardIndex::Options options{cache, 1, nullptr, nullptr, {}};
    const RecordingSummary fresh = CardIndex::Read({recording}, options).recordings.at(0);
    ASSERT_TRUE(fresh.Readable()) << fresh.failure;
    ASSERT_EQ(filesIn(cache).size(), 1u);
    const std::string cacheFile = filesIn(cache).front();
    const std::string written = ProcessRunner::ReadFile(cacheFile);
    spoiled.spoil(cacheFile);

    const RecordingSummary again = CardIndex::Read({recording}, options).recordings.at(0);
    EXPECT_DOUBLE_EQ(again.durationSeconds, spoiled.seconds) << spoiled.fault;
    EXPECT_EQ(again.track.size(), size_t(spoiled.seconds)) << spoiled.fault;
    if (spoiled.seconds == fresh.durationSeconds) {
      EXPECT_EQ(again.start, fresh.start) << spoiled.fault;
      EXPECT_NEAR(again.distanceMetres, fresh.distanceMetres, 0.001) << spoiled.fault;
    }
    if (std::filesystem::is_regular_file(cacheFile) && spoiled.seconds == fresh.durationSeconds) {
      EXPECT_EQ(ProcessRunner::ReadFile(cacheFile), written) << spoiled.fault << ": rebuilt";
    }
    EXPECT_EQ(filesIn(cache).size(), 1u) << spoiled.fault << ": no temporary left";
  }
}

// A harsh count kept in the cache holds only for the settings it was counted
// under: each read, after one under other settings, counts as a fresh read.
TEST_F(CardIndexCache, HarshCountFollowsTheSettingsNotTheCache) {
  const std::string recording = MakeRecording("drf0_20260614_093200.mp4", 80, "--seed 2");
  HarshSettings gentle;
  gentle.thresholds.brakingG = -1.9f;
  HarshSettings reversed;
  reversed.mountedReversed = true;
  const auto count = [&](const std::string& cache, const HarshSettings& harsh) {
    return CardIndex::Read({recording}, {cache, 1, nullptr, nullptr, harsh}).recordings.at(0).harshMoments;
  };
  const std::string cache = m_folder + "/cache";
  ASSERT_GT(count("", HarshSettings{}), count("", gentle)) << "the hard brake counts under the defaults";
  for (const HarshSettings& harsh : {HarshSettings{}, gentle, reversed, HarshSettings{}})
    EXPECT_EQ(count(cache, harsh), count("", harsh)) << harsh.Key();
}

} // namespace
