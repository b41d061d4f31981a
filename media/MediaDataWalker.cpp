// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/MediaDataWalker.h"

#include <algorithm>

namespace {

constexpr size_t kWindowBytes = 1 << 20;

} // namespace

MediaDataWalker::MediaDataWalker(ByteWindow::ReadFn read, uint64_t begin, uint64_t end, Settings settings)
    : m_window(std::move(read), end, kWindowBytes), m_position(begin), m_end(end), m_settings(std::move(settings)) {}

bool MediaDataWalker::ReadNal(uint64_t offset, Nal& nal) {
  const size_t prefix = size_t(m_settings.nalLengthBytes);
  size_t available = 0;
  const uint8_t* bytes = m_window.At(offset, prefix + NalUnitHeader::kBytesRead, available);
  if (!bytes) {
    m_readFailed = true;
    return false;
  }
  if (available <= prefix)
    return false;
  uint64_t length = 0;
  for (size_t i = 0; i < prefix; ++i)
    length = length << 8 | bytes[i];
  if (length == 0 || length > m_settings.maxNalBytes)
    return false;
  nal.header = NalUnitHeader::Parse(m_settings.codec, bytes + prefix,
                                    size_t(std::min<uint64_t>(length, available - prefix)), m_settings.macroblocks);
  nal.size = prefix + length;
  nal.pastEnd = nal.size > m_end - offset;
  return nal.header.Valid();
}

// A picture: optional delimiter, parameter sets and SEI, then slices, the
// first of which says it begins the picture; it ends where the next picture
// opens or where the bytes stop being NAL units.
MediaDataWalker::Found MediaDataWalker::Picture(uint64_t offset, Sample& sample) {
  uint64_t& at = m_unitsEnd;
  at = offset;
  bool pictureData = false;
  bool key = false;
  Nal nal;
  while (at < m_end && ReadNal(at, nal)) {
    if (pictureData && (nal.header.OpensAccessUnit() || nal.header.BeginsPicture()))
      break;
    if (!pictureData && nal.header.IsPictureData() && !nal.header.BeginsPicture())
      return Found::kNone;
    if (nal.pastEnd)
      return m_aligned ? Found::kCut : Found::kNone;
    pictureData = pictureData || nal.header.IsPictureData();
    key = key || nal.header.IsKey();
    at += nal.size;
  }
  if (!pictureData)
    return Found::kNone;
  sample = Sample{offset, uint32_t(at - offset), Track::kVideo, key};
  return Found::kSample;
}

MediaDataWalker::Found MediaDataWalker::AudioFrame(uint64_t offset, Sample& sample) {
  if (!m_settings.audio || !m_aligned)
    return Found::kNone;
  size_t available = 0;
  const uint8_t* bytes = m_window.At(offset, m_settings.maxAudioFrameBytes, available);
  if (!bytes) {
    m_readFailed = true;
    return Found::kNone;
  }
  const size_t length = available ? m_settings.audio(bytes, available) : 0;
  if (length == 0 || length > available)
    return Found::kNone;
  sample = Sample{offset, uint32_t(length), Track::kAudio, true};
  return Found::kSample;
}

// A run of units that led to no picture holds none at its later units
// either, so it is passed over whole: the walk stays linear.
void MediaDataWalker::Skip() {
  const uint64_t next = std::max(m_position + 1, m_unitsEnd);
  m_aligned = false;
  m_skipped += next - m_position;
  m_position = next;
}

bool MediaDataWalker::Next(Sample& sample) {
  while (m_position < m_end && !m_readFailed) {
    Found found = Picture(m_position, sample);
    if (found == Found::kNone)
      found = AudioFrame(m_position, sample);
    // Too few bytes left for a whole frame: the cut fell inside one.
    if (found == Found::kNone && m_aligned && m_settings.audio && m_end - m_position < m_settings.maxAudioFrameBytes)
      found = Found::kCut;
    if (found == Found::kCut) {
      m_endsInside = true;
      m_position = m_end;
      return false;
    }
    if (found == Found::kSample) {
      m_position += sample.size;
      m_aligned = true;
      return true;
    }
    Skip();
  }
  return false;
}
