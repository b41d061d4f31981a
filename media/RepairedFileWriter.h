// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/MediaDataWalker.h"
#include "media/MuxedFile.h"
#include "media/ReferenceRecording.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct AVPacket;

// Writes the repaired recording through FFmpeg's MP4 muxer with the
// reference's stream descriptions: the samples in the order they came, each
// timed by its place in its stream. The file is made under a temporary name
// beside the destination and renamed only once it is whole; a writer that is
// not finished leaves nothing behind.
class RepairedFileWriter {
public:
  RepairedFileWriter(const ReferenceRecording& reference, bool withAudio);
  ~RepairedFileWriter();
  RepairedFileWriter(const RepairedFileWriter&) = delete;
  RepairedFileWriter& operator=(const RepairedFileWriter&) = delete;

  // False, with the reason, when the destination's folder takes no file.
  bool Open(const std::string& destination, std::string& error);
  bool Write(const MediaDataWalker::Sample& sample, const uint8_t* bytes, std::string& error);
  // Closes the index, appends `trailer` (kept telemetry) after it and gives
  // the file its name.
  bool Finish(const std::vector<uint8_t>& trailer, std::string& error);

private:
  const ReferenceRecording& m_reference;
  bool m_withAudio;
  MuxedFile m_file;
  AVPacket* m_packet;
  int64_t m_videoFrames = 0;
  int64_t m_audioFrames = 0;
};
