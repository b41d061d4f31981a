// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/Mp4VideoTrack.h"
#include "tests/support/BoxWriter.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using testing_support::bigEndian32;
using testing_support::BoxWriter;

namespace {

std::vector<uint8_t> join(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> all;
  for (const auto& part : parts)
    all.insert(all.end(), part.begin(), part.end());
  return all;
}

// A track whose handler is `handler`, 15360 ticks a second, `frames` samples
// of 512 ticks each (30 per second).
std::vector<uint8_t> track(const char* handler, uint32_t frames) {
  const std::vector<uint8_t> zero = bigEndian32(0);
  const std::vector<uint8_t> hdlr =
      join({zero, zero, {uint8_t(handler[0]), uint8_t(handler[1]), uint8_t(handler[2]), uint8_t(handler[3])}});
  const std::vector<uint8_t> mdhd = join({zero, zero, zero, bigEndian32(15360), bigEndian32(frames * 512)});
  const std::vector<uint8_t> stts = join({zero, bigEndian32(1), bigEndian32(frames), bigEndian32(512)});
  const std::vector<uint8_t> stsz = join({zero, zero, bigEndian32(frames)});
  BoxWriter stbl;
  stbl.box("stts", stts).box("stsz", stsz);
  BoxWriter minf;
  minf.box("stbl", stbl.bytes());
  BoxWriter mdia;
  mdia.box("mdhd", mdhd).box("hdlr", hdlr).box("minf", minf.bytes());
  BoxWriter trak;
  trak.box("mdia", mdia.bytes());
  return BoxWriter().box("trak", trak.bytes()).bytes();
}

std::optional<Mp4VideoTrack::Info> readWritten(const BoxWriter& file) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("recording.mp4").toStdString();
  file.writeTo(path);
  return Mp4VideoTrack::read(path);
}

} // namespace

// Guards the frame count and rate taken from the video track's sample tables,
// with the movie box after the media data and a sound track before the video.
TEST(Mp4VideoTrackTest, ReadsTheVideoTracksSampleTables) {
  BoxWriter file;
  file.box("ftyp", {'i', 's', 'o', 'm'}).box("mdat", std::vector<uint8_t>(100, 7));
  file.box("moov", join({track("soun", 300), track("vide", 1800)}));
  const std::optional<Mp4VideoTrack::Info> info = readWritten(file);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->frames, 1800u);
  EXPECT_DOUBLE_EQ(info->frameRate, 30.0);
}

// Guards against reading past boxes or inventing a track: each gives nothing.
TEST(Mp4VideoTrackTest, GivesNothingForFilesWithoutAUsableVideoTrack) {
  BoxWriter soundOnly;
  soundOnly.box("moov", track("soun", 300));
  EXPECT_FALSE(readWritten(soundOnly).has_value());
  BoxWriter oversizedChild;
  oversizedChild.box("moov", BoxWriter().box("trak", {1, 2, 3}, 4096).bytes());
  EXPECT_FALSE(readWritten(oversizedChild).has_value());
  BoxWriter noMovie;
  noMovie.box("ftyp", {'i', 's', 'o', 'm'}).box("udat", {});
  EXPECT_FALSE(readWritten(noMovie).has_value());
  BoxWriter text;
  text.raw({'n', 'o', 't', ' ', 'a', 'n', ' ', 'm', 'p', '4'});
  EXPECT_FALSE(readWritten(text).has_value());
  EXPECT_FALSE(Mp4VideoTrack::read("/nonexistent/recording.mp4").has_value());
}
