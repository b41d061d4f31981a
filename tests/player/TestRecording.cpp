// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/player/TestRecording.h"

#include "platform/ModulePath.h"
#include "telemetry/Mp4BoxReader.h"
#include "tests/support/BoxWriter.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

void putBigEndian32(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out += char((value >> shift) & 0xFF);
}

// A user-data box with one zero record per frame.
std::string userDataBox(uint32_t records) {
  const std::vector<uint8_t> box = testing_support::BoxWriter::udat(records, {});
  return std::string(box.begin(), box.end());
}

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool writeAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  return bool(out);
}

} // namespace

bool TestRecording::make(const Options& options, const std::string& path) {
  std::ostringstream command;
  command << generator() << " --recording '" << path << "' --width " << options.width << " --height " << options.height
          << " --fps " << options.fps << " --seconds " << options.seconds;
  if (options.solidColours)
    command << " --solid-colors";
  if (options.audio)
    command << " --audio";
  return run(command.str());
}

bool TestRecording::makeDetailed(const Options& options, const std::string& path) {
  std::ostringstream command;
  command << "ffmpeg -hide_banner -loglevel error -y -f lavfi -i testsrc2=size=" << options.width << 'x'
          << options.height << ":rate=" << options.fps << " -f lavfi -i sine=frequency=440:sample_rate=48000 -t "
          << options.seconds << " -c:v " << options.encoder << " -pix_fmt yuv420p -g " << options.fps
          << " -bf 0 -c:a aac '" << path << "'";
  return run(command.str()) && appendUserData(path, uint32_t(options.fps * options.seconds));
}

bool TestRecording::makeDemoCard(const std::string& folder) { return run(generator() + " --demo '" + folder + "'"); }

std::string TestRecording::generator() { return "'" + platform::executableDir() + "/make-sample-card'"; }

bool TestRecording::makeAudioOnly(const std::string& path, int seconds) {
  const std::string command = "ffmpeg -hide_banner -loglevel error -y -f lavfi -i sine=frequency=440:sample_rate=48000 "
                              "-c:a aac -t " +
                              std::to_string(seconds) + " '" + path + "'";
  return run(command) && appendUserData(path, 0);
}

bool TestRecording::makeUserDataOnly(const std::string& path) { return writeAll(path, userDataBox(0)); }

bool TestRecording::cutShort(const std::string& path, double fraction) {
  std::string bytes = readAll(path);
  // Walk the top-level boxes to the media data, shorten it and keep what follows.
  Mp4BoxReader reader = Mp4BoxReader::OfBytes(bytes);
  Mp4BoxReader::Box box;
  while (reader.Next(box) == Mp4BoxReader::kBox) {
    if (!box.Is("mdat") || box.headerBytes != 8)
      continue;
    const size_t at = size_t(box.offset);
    const auto kept = uint32_t(8 + box.PayloadSize() * fraction);
    std::string shortened = bytes.substr(0, at);
    putBigEndian32(shortened, kept);
    shortened += "mdat";
    shortened += bytes.substr(at + 8, kept - 8);
    shortened += bytes.substr(size_t(at + box.size));
    return writeAll(path, shortened);
  }
  return false;
}

bool TestRecording::appendUserData(const std::string& path, uint32_t records) {
  std::ofstream out(path, std::ios::binary | std::ios::app);
  out << userDataBox(records);
  return bool(out);
}

bool TestRecording::run(const std::string& command) { return std::system(command.c_str()) == 0; }
