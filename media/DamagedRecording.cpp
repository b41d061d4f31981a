// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/DamagedRecording.h"

#include "media/AacFrameProbe.h"
#include "media/ReferenceRecording.h"
#include "telemetry/Mp4BoxReader.h"
#include "telemetry/RecordingCondition.h"

extern "C" {
#include <libavcodec/codec_par.h>
}

namespace {

constexpr int kMacroblockPixels = 16;

} // namespace

DamagedRecording::DamagedRecording(const std::string& path) : m_path(path), m_file(path) {}

bool DamagedRecording::Open(std::string& error) {
  const RecordingCondition::Kind condition = RecordingCondition::Of(m_path);
  if (condition == RecordingCondition::kPlayable) {
    error = m_path + ": it has its index; there is nothing to repair";
    return false;
  }
  if (condition != RecordingCondition::kIndexMissing || !m_file.IsOpen()) {
    error = m_path + ": " + RecordingCondition::Reason(condition);
    return false;
  }
  if (!FindMediaData()) {
    error = m_path + ": no media data";
    return false;
  }
  return true;
}

// The data box runs to its stated end or, cut short, to the end of the file.
bool DamagedRecording::FindMediaData() {
  Mp4BoxReader reader = Mp4BoxReader::OfFile(m_file);
  Mp4BoxReader::Box box;
  for (Mp4BoxReader::Result result = reader.Next(box); result == Mp4BoxReader::kBox || result == Mp4BoxReader::kBadSize;
       result = reader.Next(box)) {
    if (box.Is("mdat")) {
      m_begin = box.PayloadOffset();
      m_end = result == Mp4BoxReader::kBox ? box.offset + box.size : m_file.Size();
      return m_end > m_begin;
    }
    if (result == Mp4BoxReader::kBadSize)
      break;
  }
  return false;
}

MediaDataWalker DamagedRecording::Walker(const ReferenceRecording& reference, AacFrameProbe* audio) const {
  const AVCodecParameters& video = *reference.Video().parameters;
  MediaDataWalker::Settings settings;
  settings.codec = reference.Codec();
  settings.nalLengthBytes = reference.NalLengthBytes();
  // No coded picture outgrows twice its raw size.
  settings.maxNalBytes = uint32_t(std::min<uint64_t>(uint64_t(video.width) * video.height * 3, UINT32_MAX / 2));
  const uint32_t columns = uint32_t(video.width + kMacroblockPixels - 1) / kMacroblockPixels;
  const uint32_t rows = uint32_t(video.height + kMacroblockPixels - 1) / kMacroblockPixels;
  settings.macroblocks = columns * rows;
  if (audio) {
    settings.audio = [audio](const uint8_t* bytes, size_t count) { return audio->FrameLength(bytes, count); };
    settings.maxAudioFrameBytes = audio->MaxFrameBytes();
  }
  return MediaDataWalker(
      [this](uint64_t offset, uint8_t* out, size_t count) { return m_file.ReadAt(offset, out, count); }, m_begin, m_end,
      std::move(settings));
}
