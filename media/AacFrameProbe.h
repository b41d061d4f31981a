// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct AVCodecContext;
struct AVCodecParameters;
struct AVFrame;
struct AVPacket;

// Finds where a raw AAC frame ends, which nothing in the frame states: the
// decoder, set up with the reference's audio configuration, fails on any
// shorter piece (it runs out of bits before the frame's end element) and
// succeeds on the whole frame, so the shortest length that decodes to one
// full frame is the frame's length. Bytes that are not such a frame fail at
// every length. The decoder's complaints go to FFmpeg's log.
class AacFrameProbe {
public:
  explicit AacFrameProbe(const AVCodecParameters& audio);
  ~AacFrameProbe();
  AacFrameProbe(const AacFrameProbe&) = delete;
  AacFrameProbe& operator=(const AacFrameProbe&) = delete;

  bool IsOpen() const { return m_open; }
  // The frame that `bytes` begin with: its length, or 0 for none.
  size_t FrameLength(const uint8_t* bytes, size_t count);
  // No raw frame of these channels is longer.
  size_t MaxFrameBytes() const { return m_maxFrameBytes; }

private:
  bool DecodesWhole(const uint8_t* bytes, size_t count);

  struct Closer {
    void operator()(AVCodecContext* context) const;
    void operator()(AVFrame* frame) const;
    void operator()(AVPacket* packet) const;
  };
  std::unique_ptr<AVCodecContext, Closer> m_codec;
  std::unique_ptr<AVFrame, Closer> m_frame;
  std::unique_ptr<AVPacket, Closer> m_packet;
  std::vector<uint8_t> m_buffer;
  size_t m_maxFrameBytes = 0;
  int m_frameSamples = 1024;
  bool m_open = false;
};
