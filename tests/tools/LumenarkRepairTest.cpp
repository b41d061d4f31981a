// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/Mp4BoxReader.h"
#include "telemetry/RecordingFile.h"
#include "tests/tools/ContainerInfo.h"
#include "tests/tools/SampleRecordings.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

constexpr int kSeconds = 4;
constexpr char kReference[] = "drf0_20260101_000000.mp4";
constexpr char kDamaged[] = "drf0_20260101_000010.mp4";
constexpr char kRepaired[] = "drf0_20260101_000010_repaired.mp4";

// The share of `full`'s media data at which the cut falls in the middle of
// the first picture (or sound frame) past 70 %.
std::string cutInside(const std::string& full, bool video) {
  const RecordingFile file(full);
  Mp4BoxReader reader = Mp4BoxReader::OfFile(file);
  Mp4BoxReader::Box data;
  while (reader.Next(data) == Mp4BoxReader::kBox && !data.Is("mdat")) {
  }
  const double begin = double(data.PayloadOffset());
  const double size = double(data.PayloadSize());
  double nearest = 1.0;
  for (const ContainerInfo::Sample& sample : ContainerInfo::Samples(full)) {
    const double middle = (double(sample.offset) + double(sample.size) / 2 - begin) / size;
    if (sample.video == video && middle > 0.7 && middle < nearest)
      nearest = middle;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.9f", nearest);
  return text;
}

// The recording without its index box, `dropped` bytes cut off its end: a
// camera that writes the telemetry area before the index, cut in the index.
void dropIndex(const std::string& path, size_t dropped) {
  std::string bytes = ProcessRunner::ReadFile(path);
  Mp4BoxReader reader = Mp4BoxReader::OfBytes(bytes);
  Mp4BoxReader::Box box;
  while (reader.Next(box) == Mp4BoxReader::kBox && !box.Is("moov")) {
  }
  ASSERT_TRUE(box.Is("moov"));
  bytes.erase(box.offset, box.size);
  bytes.resize(bytes.size() - dropped);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

class LumenarkRepair : public SampleRecordings {
protected:
  ProcessRunner::Result Repair(const std::string& arguments) {
    return ProcessRunner::Run(ProcessRunner::Tool("lumenark-repair") + " " + arguments, kTelemetryTimeoutSeconds);
  }
};

struct RepairCase {
  const char* name;
  const char* options;
  bool cutInSoundFrame; // else in a picture
};

void PrintTo(const RepairCase& repair, std::ostream* out) { *out << repair.name; }

class LumenarkRepairCases : public LumenarkRepair, public ::testing::WithParamInterface<RepairCase> {};

// Every picture and sound frame written whole before the cut comes back, the
// file decodes without an error and the damaged file stays as it was.
TEST_P(LumenarkRepairCases, BringsBackAllThatWasWrittenWhole) {
  const std::string options = GetParam().options;
  std::filesystem::create_directories(m_folder + "/full");
  MakeRecording(kReference, kSeconds, options + " --seed 5");
  const std::string full = MakeRecording(std::string("full/") + kDamaged, kSeconds, options);
  const std::string damaged =
      MakeRecording(kDamaged, kSeconds, options + " --fault power-cut=" + cutInside(full, !GetParam().cutInSoundFrame));
  const std::string before = ProcessRunner::ReadFile(damaged);

  const auto result = Repair("'" + damaged + "'");
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string repaired = m_folder + "/" + kRepaired;
  const ContainerInfo::Counts written = ContainerInfo::WholeBefore(full, int64_t(before.size()));
  const ContainerInfo::Counts back = ContainerInfo::WholeBefore(repaired, INT64_MAX);
  EXPECT_GT(written.pictures, 0);
  EXPECT_EQ(back.pictures, written.pictures);
  EXPECT_EQ(back.audioFrames, written.audioFrames);
  EXPECT_NEAR(ContainerInfo::Seconds(repaired), double(written.pictures) / kFps, 1.0);
  const auto decoded = ProcessRunner::Run("ffmpeg -nostdin -v error -i '" + repaired + "' -f null -");
  EXPECT_EQ(decoded.exitCode, 0);
  EXPECT_EQ(decoded.err, "");
  EXPECT_EQ(ProcessRunner::ReadFile(damaged), before);
}

INSTANTIATE_TEST_SUITE_P(, LumenarkRepairCases,
                         ::testing::Values(RepairCase{"h264", "", false}, RepairCase{"h264_audio", "--audio", false},
                                           RepairCase{"h265", "--codec h265", false},
                                           RepairCase{"h265_audio", "--codec h265 --audio", false},
                                           RepairCase{"h264_cut_in_sound", "--audio", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Whole boxes of a telemetry area left in the damaged file come along: the
// repaired recording's check gives the code the kept boxes give.
TEST_F(LumenarkRepair, KeepsTheWholeBoxesOfATelemetryArea) {
  const struct {
    size_t dropped;
    const char* code;
  } cases[] = {{0, "code 0\n"}, {100, "code 20\n"}};
  MakeRecording(kReference, kSeconds, "--audio");
  for (const auto& kept : cases) {
    const std::string damaged = MakeRecording(kDamaged, kSeconds, "--audio");
    dropIndex(damaged, kept.dropped);
    const auto result = Repair("'" + damaged + "'");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("telemetry kept"), std::string::npos) << result.out;
    EXPECT_EQ(Telemetry("check '" + m_folder + "/" + kRepaired + "'").out, kept.code);
    EXPECT_EQ(ContainerInfo::VideoFrameCount(m_folder + "/" + kRepaired), kSeconds * kFps);
  }
}

// A reference of other settings is refused with the reason, and the default
// choice passes over it; nothing is written.
TEST_F(LumenarkRepair, ReferenceWithOtherSettingsIsRefused) {
  const struct {
    const char* reference;
    const char* reason;
  } cases[] = {
      {"--width 80", "its video settings differ from the damaged recording's"},
      {"--codec h265", "its video settings differ from the damaged recording's"},
      {"--audio", "the reference has sound, the damaged recording has none"},
  };
  const std::string damaged = MakeRecording(kDamaged, kSeconds, "--fault power-cut");
  for (const auto& refused : cases) {
    const std::string reference = MakeRecording(kReference, kSeconds, refused.reference);
    const auto named = Repair("'" + damaged + "' --reference '" + reference + "'");
    EXPECT_EQ(named.exitCode, 1) << refused.reference;
    EXPECT_NE(named.err.find("cannot serve as the reference: " + std::string(refused.reason)), std::string::npos)
        << named.err;
    const auto chosen = Repair("'" + damaged + "'");
    EXPECT_EQ(chosen.exitCode, 1) << refused.reference;
    EXPECT_NE(chosen.err.find("no earlier healthy recording with the same settings"), std::string::npos) << chosen.err;
    EXPECT_FALSE(std::filesystem::exists(m_folder + "/" + kRepaired));
  }
}

// A card that takes no file: the reason, then a folder of the user's.
TEST_F(LumenarkRepair, ReadOnlyCardIsRepairedElsewhere) {
  if (!Mount("card", "size=4m"))
    GTEST_SKIP() << "mounting a file system needs root";
  MakeRecording(std::string("card/") + kReference, kSeconds, "--audio");
  const std::string damaged = MakeRecording(std::string("card/") + kDamaged, kSeconds, "--audio --fault power-cut");
  ASSERT_EQ(ProcessRunner::Run("mount -o remount,ro '" + m_folder + "/card'").exitCode, 0);

  const auto refused = Repair("'" + damaged + "'");
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.err.find("Read-only file system"), std::string::npos) << refused.err;
  const auto elsewhere = Repair("'" + damaged + "' -o '" + m_folder + "/out.mp4'");
  EXPECT_EQ(elsewhere.exitCode, 0) << elsewhere.err;
  EXPECT_GT(ContainerInfo::VideoFrameCount(m_folder + "/out.mp4"), 0);
}

// A disk that fills up leaves neither the repaired file nor a piece of it.
TEST_F(LumenarkRepair, FullDiskLeavesNothingBehind) {
  MakeRecording(kReference, kSeconds, "--audio");
  const std::string damaged = MakeRecording(kDamaged, kSeconds, "--audio --fault power-cut");
  if (!Mount("small", "size=8k"))
    GTEST_SKIP() << "mounting a file system needs root";
  const auto result = Repair("'" + damaged + "' -o '" + m_folder + "/small/out.mp4'");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("No space left on device"), std::string::npos) << result.err;
  EXPECT_TRUE(std::filesystem::is_empty(m_folder + "/small"));
}

} // namespace
