// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/RecordingTelemetry.h"
#include "telemetry/RmcFields.h"
#include "telemetry/SensorTriple.h"
#include "tests/tools/ContainerInfo.h"
#include "tests/tools/SampleRecordings.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>

namespace {

bool checksumValid(const std::string& sentence) {
  const size_t star = sentence.find('*');
  if (sentence.empty() || sentence[0] != '$' || star == std::string::npos || star + 3 != sentence.size())
    return false;
  unsigned sum = 0;
  for (size_t i = 1; i < star; ++i)
    sum ^= static_cast<unsigned char>(sentence[i]);
  char expected[3];
  std::snprintf(expected, sizeof expected, "%02X", sum);
  return sentence.compare(star + 1, 2, expected) == 0;
}

std::string sentenceOf(const uint8_t* record) {
  const char* text = reinterpret_cast<const char*>(record);
  return std::string(text, strnlen(text, RecordingTelemetry::kGpsRecordBytes));
}

using MakeSampleCard = SampleRecordings;

// The viewer finds recordings and event notes only under these exact names.
TEST_F(MakeSampleCard, CardTreeHasTheCameraNamesAndEventNotes) {
  const std::string card = m_folder + "/card";
  const auto result = ProcessRunner::Run(ProcessRunner::Tool("make-sample-card") + " --card " + card +
                                         " --normal 2 --event 2 --seconds 3 --width 64 --height 48 --fps 10");
  ASSERT_EQ(result.exitCode, 0) << result.err;
  std::set<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(card))
    if (entry.is_regular_file())
      files.insert(std::filesystem::relative(entry.path(), card).string());
  const std::set<std::string> expected{"NormalMovie/drf0_20260614_093200.mp4", "NormalMovie/drf0_20260614_093204.mp4",
                                       "EventMovie/drf0_20260614_093208.mp4",  "EventMovie/drf0_20260614_093212.mp4",
                                       "Event/evt_20260614_093208.txt",        "Event/slt_20260614_093212.txt"};
  EXPECT_EQ(files, expected);
  EXPECT_EQ(ProcessRunner::ReadFile(card + "/Event/evt_20260614_093208.txt"),
            "Type : G-sensor\nDate : 2026/06/14 09:32:10\n");
}

// The event mark on the timeline must meet the spike the user sees in the graph.
TEST_F(MakeSampleCard, HardBrakeSpikeIsAtTheEventTime) {
  const std::string card = m_folder + "/card";
  const auto result = ProcessRunner::Run(ProcessRunner::Tool("make-sample-card") + " --card " + card +
                                         " --normal 0 --event 1 --seconds 30 --width 64 --height 48 --fps 10");
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string note = ProcessRunner::ReadFile(card + "/Event/evt_20260614_093200.txt");
  const std::string dateLine =
      note.substr(note.find("Date :"), note.find('\n', note.find("Date :")) - note.find("Date :"));
  const std::string eventTime = dateLine.substr(dateLine.size() - 8);
  const int eventSecond = std::stoi(eventTime.substr(0, 2)) * 3600 + std::stoi(eventTime.substr(3, 2)) * 60 +
                          std::stoi(eventTime.substr(6, 2)) - (9 * 3600 + 32 * 60);

  RecordingTelemetry telemetry;
  ASSERT_EQ(telemetry.Load(card + "/EventMovie/drf0_20260614_093200.mp4"), 0);
  uint32_t hardest = 0;
  float lowest = 0;
  for (uint32_t position = 0; position < telemetry.PositionCount(); ++position) {
    const float y = SensorTriple::FromRecord(telemetry.SensorRecord(position)).y;
    if (y < lowest) {
      lowest = y;
      hardest = position;
    }
  }
  EXPECT_LT(lowest, -1.0f); // 0.9 g of braking and the first jolt
  EXPECT_EQ(int(hardest) / kFps, eventSecond);
}

TEST_F(MakeSampleCard, SameSeedGivesTheSameBytes) {
  const std::string first = MakeRecording("a.mp4", 2, "--seed 5 --audio");
  const std::string second = MakeRecording("b.mp4", 2, "--seed 5 --audio");
  const std::string other = MakeRecording("c.mp4", 2, "--seed 6 --audio");
  EXPECT_EQ(ProcessRunner::ReadFile(first), ProcessRunner::ReadFile(second));
  EXPECT_NE(ProcessRunner::ReadFile(first), ProcessRunner::ReadFile(other));
}

// One record per frame, a valid sentence opening each second and empty
// records between; a drive that covers the display's whole range.
TEST_F(MakeSampleCard, TelemetryIsAPlausibleDrive) {
  const int seconds = 60;
  const std::string path = MakeRecording("drive.mp4", seconds);
  EXPECT_EQ(ContainerInfo::VideoFrameCount(path), seconds * kFps);
  RecordingTelemetry telemetry;
  ASSERT_EQ(telemetry.Load(path), 0);
  ASSERT_EQ(telemetry.PositionCount(), uint32_t(seconds * kFps));

  RmcFields fields;
  std::set<int> octants;
  int slowest = 1000, fastest = 0;
  for (uint32_t position = 0; position < telemetry.PositionCount(); ++position) {
    const uint8_t* record = telemetry.GpsRecord(position);
    ASSERT_NE(record, nullptr) << position;
    ASSERT_NE(telemetry.SensorRecord(position), nullptr) << position;
    EXPECT_TRUE(SensorTriple::FromRecord(telemetry.SensorRecord(position)).InDisplayRange()) << position;
    if (position % kFps != 0) {
      EXPECT_TRUE(std::all_of(record, record + RecordingTelemetry::kGpsRecordBytes, [](uint8_t b) { return b == 0; }));
      continue;
    }
    const std::string sentence = sentenceOf(record);
    EXPECT_TRUE(checksumValid(sentence)) << sentence;
    ASSERT_TRUE(fields.ParseSentence(sentence.c_str(), sentence.size()));
    const int second = int(position) / kFps;
    char time[32];
    std::snprintf(time, sizeof time, "0932%02d.00", second);
    EXPECT_STREQ(fields.Time(), time);
    EXPECT_NE(sentence.find(",140626,"), std::string::npos) << sentence;
    slowest = std::min(slowest, fields.SpeedKmh());
    fastest = std::max(fastest, fields.SpeedKmh());
    if (fields.SpeedKmh() > 0)
      octants.insert(((fields.Course() + 22) % 360) / 45);
  }
  EXPECT_EQ(slowest, 0);
  EXPECT_GT(fastest, 100);
  EXPECT_EQ(octants.size(), 8u);
}

// A one-second drive has no time to turn: its last sensor record was 0 / 0.
TEST_F(MakeSampleCard, ShortestRecordingHasOnlyFiniteSensorValues) {
  const std::string path = MakeRecording("short.mp4", 1);
  RecordingTelemetry telemetry;
  ASSERT_EQ(telemetry.Load(path), 0);
  ASSERT_EQ(telemetry.PositionCount(), uint32_t(kFps));
  for (uint32_t position = 0; position < telemetry.PositionCount(); ++position)
    EXPECT_TRUE(SensorTriple::FromRecord(telemetry.SensorRecord(position)).InDisplayRange()) << position;
}

// A player test compares decoded pixels with the documented colours.
TEST_F(MakeSampleCard, SolidColoursFollowTheDocumentedOrder) {
  const std::string path = MakeRecording("solid.mp4", 3, "--solid-colors");
  const auto result = ProcessRunner::Run("ffmpeg -v error -i '" + path +
                                         "' -vf select='eq(n\\,5)+eq(n\\,15)+eq(n\\,25)' -vsync 0 "
                                         "-s 1x1 -f rawvideo -pix_fmt rgb24 -");
  if (result.exitCode == 127)
    GTEST_SKIP() << "no ffmpeg command";
  ASSERT_EQ(result.out.size(), 9u) << result.err;
  const int expected[9] = {255, 0, 0, 0, 255, 0, 0, 0, 255};
  for (int i = 0; i < 9; ++i)
    EXPECT_NEAR(static_cast<unsigned char>(result.out[size_t(i)]), expected[i], 6) << i;
}

} // namespace
