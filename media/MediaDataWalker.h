// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/ByteWindow.h"
#include "media/NalUnitHeader.h"

#include <cstdint>
#include <functional>

// Walks the media data of a recording whose index is lost and finds its
// samples in the order the camera wrote them: pictures as runs of
// length-prefixed NAL units, audio frames between them as an audio probe
// recognises them. Bytes of neither stream are skipped, never guessed at.
class MediaDataWalker {
public:
  enum class Track { kVideo, kAudio };
  struct Sample {
    uint64_t offset = 0;
    uint32_t size = 0;
    Track track = Track::kVideo;
    bool key = false;
  };
  // The length of the audio frame that `bytes` begin with, 0 for none.
  using AudioProbe = std::function<size_t(const uint8_t* bytes, size_t count)>;

  struct Settings {
    VideoCodec codec = VideoCodec::kH264;
    int nalLengthBytes = 4;
    // Beyond these a NAL unit is taken for other bytes.
    uint32_t maxNalBytes = 0;
    uint32_t macroblocks = 0;
    AudioProbe audio; // empty: a recording without sound
    size_t maxAudioFrameBytes = 0;
  };

  MediaDataWalker(ByteWindow::ReadFn read, uint64_t begin, uint64_t end, Settings settings);

  // The next whole sample; false at the end of the data or a failed read.
  bool Next(Sample& sample);

  uint64_t Position() const { return m_position; }
  uint64_t SkippedBytes() const { return m_skipped; }
  // The data ends inside a sample (the cut), which is left out.
  bool EndsInsideSample() const { return m_endsInside; }
  bool ReadFailed() const { return m_readFailed; }

private:
  enum class Found { kSample, kCut, kNone };
  struct Nal {
    NalUnitHeader header;
    uint64_t size = 0; // length prefix included
    bool pastEnd = false;
  };

  Found Picture(uint64_t offset, Sample& sample);
  Found AudioFrame(uint64_t offset, Sample& sample);
  bool ReadNal(uint64_t offset, Nal& nal);
  void Skip();

  ByteWindow m_window;
  uint64_t m_position;
  uint64_t m_end;
  Settings m_settings;
  // Right after a sample: only here may an audio frame begin.
  bool m_aligned = true;
  bool m_endsInside = false;
  bool m_readFailed = false;
  uint64_t m_skipped = 0;
  // Where the units last looked at for a picture end.
  uint64_t m_unitsEnd = 0;
};
