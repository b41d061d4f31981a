// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/ClipOverlay.h"
#include "media/ClipWriter.h"
#include "media/OverlayFont.h"
#include "telemetry/BigEndian.h"
#include "telemetry/QIRAUDAT.h"
#include "telemetry/UdatLocator.h"
#include "telemetry/UserDataFile.h"
#include "tests/tools/ContainerInfo.h"
#include "tests/tools/SampleRecordings.h"

#include <bitset>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace {

constexpr int kSeconds = 6;
constexpr char kFirst[] = "drf0_20260614_093200.mp4";
constexpr char kSecond[] = "drf0_20260614_093206.mp4";
constexpr char kSecondOptions[] = "--start 20260614_093206 --seed 2";
constexpr int kLatitude = 1, kLongitude = 2, kSpeed = 3, kFirstSensor = 5;

using Rows = std::vector<std::vector<std::string>>;

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream stream(text);
  for (std::string part; std::getline(stream, part, separator);)
    parts.push_back(part);
  return parts;
}

// The rows of a CSV export, its header left out.
Rows rowsOf(const std::string& csv) {
  Rows rows;
  for (const std::string& line : split(csv, '\n'))
    rows.push_back(split(line + ",", ','));
  rows.erase(rows.begin());
  return rows;
}

// The "TIME" records of a file, in milliseconds.
std::vector<uint32_t> timeRecords(const std::string& path, uint32_t count) {
  UdatLocator::Area area;
  QIRAUDAT records;
  if (UdatLocator::Locate(path, area) != UdatLocator::kFound ||
      UserDataFile::Index(records, area.bytes.get(), area.length) != 0)
    return {};
  records.SetRecordCount(count);
  std::vector<uint32_t> times;
  for (uint32_t i = 0; i < count && records.GetTimeRecord(i); ++i)
    times.push_back(readBigEndian32(records.GetTimeRecord(i)));
  return times;
}

// Line `line` of the `lines` burned into a decoded grey picture, `chars`
// character cells long, each cell read as the font's nearest glyph.
std::string burnedLine(const std::string& grey, int width, int height, size_t lines, size_t line, size_t chars) {
  const ClipOverlay::Layout layout = ClipOverlay::LayoutFor(height, lines);
  std::string read;
  for (size_t at = 0; at < chars; ++at) {
    std::bitset<35> seen;
    for (int pixel = 0; pixel < 35; ++pixel) {
      const int x = layout.left + int(at) * OverlayFont::kAdvance * layout.scale +
                    (pixel % OverlayFont::kWidth) * layout.scale + layout.scale / 2;
      const int y =
          layout.top + int(line) * layout.lineHeight + (pixel / OverlayFont::kWidth) * layout.scale + layout.scale / 2;
      seen[size_t(pixel)] = x < width && uint8_t(grey[size_t(y * width + x)]) > 128;
    }
    char nearest = '?';
    size_t fewest = 36;
    for (const char* c = OverlayFont::Characters(); *c; ++c) {
      std::bitset<35> glyph;
      for (int pixel = 0; pixel < 35; ++pixel)
        glyph[size_t(pixel)] = OverlayFont::Glyph(*c)[size_t(pixel / 5)] >> (4 - pixel % 5) & 1;
      if ((glyph ^ seen).count() < fewest) {
        fewest = (glyph ^ seen).count();
        nearest = *c;
      }
    }
    read += nearest;
  }
  return read;
}

class LumenarkClip : public SampleRecordings {
protected:
  ProcessRunner::Result Clip(const std::string& arguments) {
    return ProcessRunner::Run(ProcessRunner::Tool("lumenark-clip") + " " + arguments, kTelemetryTimeoutSeconds);
  }
  std::string Probe(const std::string& what, const std::string& path) {
    return ProcessRunner::Run("ffprobe -v error " + what + " -of csv=p=0 '" + path + "'").out;
  }
  Rows Exported(const std::string& path) { return rowsOf(Telemetry("export '" + path + "' --format csv").out); }
};

struct ClipCase {
  const char* name;
  bool across; // from the first recording into the second
  double from;
  double to;
  const char* options;
  const char* streams;
};

void PrintTo(const ClipCase& clip, std::ostream* out) { *out << clip.name; }

class LumenarkClipCases : public LumenarkClip, public ::testing::WithParamInterface<ClipCase> {};

// A clip holds its streams from a key picture (or, burned in, the in mark
// itself) to the out mark, and for each picture the source's telemetry of
// the same moment, its times counted from the clip's start; a private clip
// holds no position anywhere.
TEST_P(LumenarkClipCases, HoldsItsStretchWithTheSourcesTelemetry) {
  const ClipCase& clip = GetParam();
  std::string recordings = "'" + MakeRecording(kFirst, kSeconds, "--audio") + "'";
  Rows source = Exported(m_folder + "/" + kFirst);
  if (clip.across) {
    recordings += " '" + MakeRecording(kSecond, kSeconds, std::string("--audio ") + kSecondOptions) + "'";
    const Rows second = Exported(m_folder + "/" + kSecond);
    source.insert(source.end(), second.begin(), second.end());
  }
  const std::string out = m_folder + "/clip.mp4";
  const auto result = Clip(recordings + " --from " + std::to_string(clip.from) + " --to " + std::to_string(clip.to) +
                           " " + clip.options + " -o '" + out + "'");
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const double start = std::strtod(result.out.c_str() + result.out.find(" from ") + 6, nullptr);

  EXPECT_EQ(Probe("-show_entries stream=codec_type", out), clip.streams);
  EXPECT_NEAR(ContainerInfo::Seconds(out), clip.to - start, 1.5 / kFps);
  EXPECT_EQ(Probe("-select_streams v -read_intervals %+#1 -show_entries packet=flags", out).substr(0, 1), "K");
  const std::string options = clip.options;
  const auto sourcePackets = Probe("-select_streams v -show_entries packet=pts_time,flags", m_folder + "/" + kFirst);
  if (options.find("--overlay") != std::string::npos)
    EXPECT_NEAR(start, clip.from, 0.5 / kFps);
  else
    EXPECT_NE(sourcePackets.find(std::to_string(start) + ",K"), std::string::npos) << start;
  EXPECT_GT(start, clip.from - 1.0);

  const Rows rows = Exported(out);
  ASSERT_EQ(rows.size(), size_t(std::lround((clip.to - start) * kFps)));
  const size_t first = size_t(std::lround(start * kFps));
  const bool positions = options.find("--no-gps") == std::string::npos;
  size_t placed = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    for (int value = kFirstSensor; value < kFirstSensor + 3; ++value)
      EXPECT_EQ(rows[i][value], source[first + i][value]) << i;
    if (!rows[i][kLatitude].empty()) {
      EXPECT_EQ(rows[i][kLongitude], source[first + i][kLongitude]) << i;
    }
    placed += !rows[i][kLatitude].empty();
  }
  EXPECT_EQ(placed > 0, positions);
  EXPECT_EQ(ProcessRunner::ReadFile(out).find("$GPRMC") != std::string::npos, positions);
  const std::vector<uint32_t> times = timeRecords(out, uint32_t(rows.size()));
  ASSERT_EQ(times.size(), rows.size());
  for (size_t i = 0; i < times.size(); ++i)
    EXPECT_EQ(times[i], i * 1000 / kFps) << i;
}

INSTANTIATE_TEST_SUITE_P(
    , LumenarkClipCases,
    ::testing::Values(ClipCase{"exact", false, 2.45, 4.5, "", "video\naudio\n"},
                      ClipCase{"across_two_recordings", true, 4.3, 8.0, "", "video\naudio\n"},
                      ClipCase{"private_without_sound", false, 1.0, 3.0, "--no-gps --no-audio", "video\n"},
                      ClipCase{"burned_in_private", false, 2.5, 4.0, "--overlay --no-gps", "video\naudio\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// The date and time, the speed in the units asked for and the position read
// back from a decoded picture of a burned-in clip; a private one shows no
// position.
TEST_F(LumenarkClip, BurnedInTextReadsBackFromTheDecodedPicture) {
  constexpr int kWidth = 320, kHeight = 240;
  const struct {
    const char* options;
    double kmhPerUnit;
    const char* unit;
    size_t lines;
  } cases[] = {{"", 1.0, " km/h", 3}, {"--units mph", 1.609344, " mph", 3}, {"--no-gps", 1.0, " km/h", 2}};
  const std::string recording = MakeRecording(kFirst, kSeconds, "--width 320 --height 240");
  const Rows source = Exported(recording);
  // One second into a clip from 2.5 s: the source's picture 35, second 3.
  const std::vector<std::string>& moment = source[35];
  for (const auto& burned : cases) {
    const std::string out = m_folder + "/burned.mp4";
    const auto result =
        Clip("'" + recording + "' --from 2.5 --to 4.5 --overlay " + burned.options + " -o '" + out + "'");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string grey =
        ProcessRunner::Run("ffmpeg -v error -ss 1.0 -i '" + out + "' -frames:v 1 -f rawvideo -pix_fmt gray -").out;
    ASSERT_EQ(grey.size(), size_t(kWidth * kHeight));
    char position[48];
    std::snprintf(position, sizeof position, "%.5f N %.5f E", std::stod(moment[kLatitude]),
                  std::stod(moment[kLongitude]));
    const std::string expected[] = {
        "2026-06-14 09:32:03", std::to_string(std::lround(std::stod(moment[kSpeed]) / burned.kmhPerUnit)) + burned.unit,
        position};
    for (size_t line = 0; line < burned.lines; ++line)
      EXPECT_EQ(burnedLine(grey, kWidth, kHeight, burned.lines, line, expected[line].size()), expected[line]);
  }
}

// A disk that fills up, a folder that takes no file and a recording cut
// short: the reason, and nothing left behind.
TEST_F(LumenarkClip, FailureLeavesNothingBehind) {
  const struct {
    const char* folder;
    const char* mount; // nullptr: an ordinary folder
    const char* recordingOptions;
    int exitCode;
    const char* reason;
  } cases[] = {
      {"small", "size=8k", "--audio", 1, "No space left on device"},
      {"read-only", "ro,size=1m", "--audio", 1, "Read-only file system"},
      {"plain", nullptr, "--audio --fault power-cut", 3, "lumenark-repair can rebuild it"},
  };
  for (const auto& failure : cases) {
    const std::string recording = MakeRecording(kFirst, kSeconds, failure.recordingOptions);
    if (failure.mount && !Mount(failure.folder, failure.mount))
      GTEST_SKIP() << "mounting a file system needs root";
    std::filesystem::create_directories(m_folder + "/" + failure.folder);
    const auto result =
        Clip("'" + recording + "' --from 1 --to 5 --gpx -o '" + m_folder + "/" + failure.folder + "/clip.mp4'");
    EXPECT_EQ(result.exitCode, failure.exitCode) << failure.folder;
    EXPECT_NE(result.err.find(failure.reason), std::string::npos) << result.err;
    EXPECT_TRUE(std::filesystem::is_empty(m_folder + "/" + failure.folder)) << failure.folder;
  }
}

// Cancel, in the copy and in the burned-in clip, leaves nothing behind.
TEST_F(LumenarkClip, CancelLeavesNothingBehind) {
  const std::string recording = MakeRecording(kFirst, kSeconds, "--audio");
  std::filesystem::create_directories(m_folder + "/out");
  for (const bool burnIn : {false, true}) {
    std::atomic<bool> cancel{false};
    ClipWriter::Request request;
    request.recordings = {recording};
    request.from = 0.5;
    request.to = 5.5;
    request.output = m_folder + "/out/clip.mp4";
    request.burnIn = burnIn;
    request.gpx = true;
    request.cancel = &cancel;
    request.progress = [&cancel](double share) { cancel = cancel || share > 0.5; };
    const ClipWriter::Result result = ClipWriter::Write(request);
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.error, "cancelled");
    EXPECT_TRUE(std::filesystem::is_empty(m_folder + "/out"));
  }
}

} // namespace
