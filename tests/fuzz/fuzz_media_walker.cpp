// SPDX-License-Identifier: GPL-3.0-or-later
// The media data of a cut recording is whatever the card holds: the walk
// must end, stay inside the data and hand out only samples that lie in it.
#include "media/MediaDataWalker.h"

#include <cstdlib>
#include <cstring>

namespace {

// A stand-in for the AAC probe, so that the walker's audio path is reached
// without a decoder: a frame is 0x21, a length byte and that many bytes.
size_t standInFrame(const uint8_t* bytes, size_t count) {
  if (count < 2 || bytes[0] != 0x21 || size_t(bytes[1]) + 2 > count)
    return 0;
  return size_t(bytes[1]) + 2;
}

} // namespace

// The first byte chooses the codec, the length prefix's size and whether
// there is sound; the rest is the media data.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1)
    return 0;
  MediaDataWalker::Settings settings;
  settings.codec = data[0] & 1 ? VideoCodec::kH265 : VideoCodec::kH264;
  settings.nalLengthBytes = 1 + (data[0] >> 1 & 3);
  settings.maxNalBytes = 1 << 16;
  settings.macroblocks = data[0] & 0x10 ? 0 : 120;
  if (data[0] & 0x20) {
    settings.audio = standInFrame;
    settings.maxAudioFrameBytes = 257;
  }
  const uint8_t* media = data + 1;
  const uint64_t end = size - 1;
  MediaDataWalker walker(
      [media, end](uint64_t offset, uint8_t* out, size_t count) {
        if (offset > end || count > end - offset)
          std::abort(); // the walker asked for bytes past the data
        std::memcpy(out, media + offset, count);
        return true;
      },
      0, end, settings);
  MediaDataWalker::Sample sample;
  uint64_t previousEnd = 0;
  while (walker.Next(sample)) {
    if (sample.size == 0 || sample.offset < previousEnd || sample.offset + sample.size > end)
      std::abort();
    previousEnd = sample.offset + sample.size;
  }
  return 0;
}
