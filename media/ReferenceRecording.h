// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/NalUnitHeader.h"

#include <cstdint>
#include <memory>
#include <string>

struct AVCodecParameters;

// A healthy recording's stream descriptions, taken from its index: what a
// recording of the same camera and settings needs to be rebuilt.
class ReferenceRecording {
public:
  struct Rational {
    int num = 0;
    int den = 1;
  };
  struct Stream {
    std::shared_ptr<AVCodecParameters> parameters;
    Rational timeBase;
    int64_t firstTimestamp = 0;
  };

  // False, with the reason in `error`, when `path` is no playable recording
  // with H.264 or H.265 video.
  bool Open(const std::string& path, std::string& error);

  const std::string& Path() const { return m_path; }
  VideoCodec Codec() const { return m_codec; }
  // How many bytes give each NAL unit's length in the samples.
  int NalLengthBytes() const { return m_nalLengthBytes; }
  const Stream& Video() const { return m_video; }
  Rational FrameRate() const { return m_frameRate; }
  // Empty parameters: the reference has no AAC sound.
  const Stream& Audio() const { return m_audio; }
  bool HasAudio() const { return m_audio.parameters != nullptr; }

private:
  bool TakeNalLengthBytes(std::string& error);

  std::string m_path;
  VideoCodec m_codec = VideoCodec::kH264;
  int m_nalLengthBytes = 4;
  Stream m_video;
  Stream m_audio;
  Rational m_frameRate;
};
