// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/player/TestRecording.h"

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

uint32_t readBigEndian32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i)
    value = (value << 8) | uint8_t(bytes[at + i]);
  return value;
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

bool TestRecording::make(const Spec& spec, const std::string& path) {
  std::ostringstream command;
  command << "ffmpeg -hide_banner -loglevel error -y " << sourceArguments(spec);
  if (spec.video)
    command << " -c:v libx264 -preset veryfast -pix_fmt yuv420p -g " << spec.fps;
  if (spec.audio)
    command << " -c:a aac";
  command << " -movflags +faststart -t " << spec.seconds << " '" << path << "'";
  return run(command.str()) && appendUserData(path, uint32_t(spec.fps * spec.seconds));
}

std::string TestRecording::sourceArguments(const Spec& spec) {
  std::ostringstream args;
  const std::string size = std::to_string(spec.width) + "x" + std::to_string(spec.height);
  int inputs = 0;
  if (spec.video && spec.colours.empty()) {
    args << "-f lavfi -i testsrc2=s=" << size << ":r=" << spec.fps;
    ++inputs;
  } else if (spec.video) {
    const double part = spec.seconds / spec.colours.size();
    for (uint32_t colour : spec.colours) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "0x%06X", colour & 0xFFFFFF);
      args << "-f lavfi -i color=c=" << hex << ":s=" << size << ":r=" << spec.fps << ":d=" << part << ' ';
    }
    args << "-filter_complex '";
    for (size_t i = 0; i < spec.colours.size(); ++i)
      args << '[' << i << ":v]";
    args << "concat=n=" << spec.colours.size() << ":v=1:a=0[v]' -map '[v]'";
    inputs = int(spec.colours.size());
  }
  if (spec.audio) {
    args << " -f lavfi -i sine=frequency=440:sample_rate=48000";
    if (inputs > 0 && !spec.colours.empty())
      args << " -map " << inputs << ":a";
  }
  return args.str();
}

bool TestRecording::makeUserDataOnly(const std::string& path) { return writeAll(path, userDataBox(0)); }

bool TestRecording::cutShort(const std::string& path, double fraction) {
  std::string bytes = readAll(path);
  // Walk the top-level boxes to the media data, shorten it and keep what follows.
  size_t at = 0;
  while (at + 8 <= bytes.size()) {
    const uint32_t size = readBigEndian32(bytes, at);
    if (size < 8)
      return false;
    if (bytes.compare(at + 4, 4, "mdat") == 0) {
      const auto kept = uint32_t(8 + (size - 8) * fraction);
      std::string shortened = bytes.substr(0, at);
      putBigEndian32(shortened, kept);
      shortened += "mdat";
      shortened += bytes.substr(at + 8, kept - 8);
      shortened += bytes.substr(at + size);
      return writeAll(path, shortened);
    }
    at += size;
  }
  return false;
}

bool TestRecording::appendUserData(const std::string& path, uint32_t records) {
  std::ofstream out(path, std::ios::binary | std::ios::app);
  out << userDataBox(records);
  return bool(out);
}

bool TestRecording::run(const std::string& command) { return std::system(command.c_str()) == 0; }
