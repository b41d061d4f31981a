// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;

// Writes an MP4 file with H.264 video (MPEG-4 part 2 when the build of FFmpeg
// has no H.264 encoder) or H.265 video, and optional AAC audio: a one-second
// key-frame interval, no B-frames, so the stream holds exactly the frames
// given.
// Errors throw Mp4Encoder::Error.
class Mp4Encoder {
public:
  struct Error : std::runtime_error {
    using std::runtime_error::runtime_error;
  };

  Mp4Encoder(const std::string& path, int width, int height, int fps, bool audio, bool hevc = false);
  ~Mp4Encoder();
  Mp4Encoder(const Mp4Encoder&) = delete;
  Mp4Encoder& operator=(const Mp4Encoder&) = delete;

  // One picture: 8-bit YUV 4:2:0 planes (Y, Cb, Cr) with their strides.
  void AddFrame(const uint8_t* const planes[3], const int strides[3]);
  // Flushes the encoders and writes the index; the file is complete after it.
  void Finish();

private:
  struct Stream;
  void OpenVideo(int width, int height, int fps, bool hevc);
  void OpenAudio();
  void EncodeAudioUpTo(int64_t videoFrames);
  void Encode(Stream& stream, AVFrame* frame);

  int m_fps;
  int64_t m_videoFrames = 0;
  int64_t m_audioSamples = 0;
  bool m_finished = false;
  std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> m_format;
  std::unique_ptr<Stream> m_video;
  std::unique_ptr<Stream> m_audio;
};
