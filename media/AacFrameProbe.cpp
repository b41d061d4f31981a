// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/AacFrameProbe.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <algorithm>
#include <cstring>

namespace {

// 6144 bits per channel is the most one raw frame may hold.
constexpr size_t kMaxBytesPerChannel = 768;

} // namespace

void AacFrameProbe::Closer::operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
void AacFrameProbe::Closer::operator()(AVFrame* frame) const { av_frame_free(&frame); }
void AacFrameProbe::Closer::operator()(AVPacket* packet) const { av_packet_free(&packet); }

AacFrameProbe::AacFrameProbe(const AVCodecParameters& audio) : m_frame(av_frame_alloc()), m_packet(av_packet_alloc()) {
  const AVCodec* decoder = avcodec_find_decoder(AV_CODEC_ID_AAC);
  if (audio.codec_id != AV_CODEC_ID_AAC || !decoder || !m_frame || !m_packet)
    return;
  m_codec.reset(avcodec_alloc_context3(decoder));
  if (!m_codec || avcodec_parameters_to_context(m_codec.get(), &audio) < 0)
    return;
  m_codec->thread_count = 1;
  m_codec->err_recognition |= AV_EF_EXPLODE;
  if (avcodec_open2(m_codec.get(), decoder, nullptr) < 0)
    return;
  const int channels = std::max(1, audio.ch_layout.nb_channels);
  m_maxFrameBytes = kMaxBytesPerChannel * size_t(channels);
  m_frameSamples = audio.frame_size > 0 ? audio.frame_size : 1024;
  m_buffer.resize(m_maxFrameBytes + AV_INPUT_BUFFER_PADDING_SIZE);
  m_open = true;
}

AacFrameProbe::~AacFrameProbe() = default;

// The decoder's own buffering is dropped after each try, so tries do not
// leak into each other.
bool AacFrameProbe::DecodesWhole(const uint8_t* bytes, size_t count) {
  std::memcpy(m_buffer.data(), bytes, count);
  std::memset(m_buffer.data() + count, 0, AV_INPUT_BUFFER_PADDING_SIZE);
  AVPacket* packet = m_packet.get();
  packet->data = m_buffer.data();
  packet->size = int(count);
  bool whole = avcodec_send_packet(m_codec.get(), packet) == 0 &&
               avcodec_receive_frame(m_codec.get(), m_frame.get()) == 0 && m_frame->nb_samples == m_frameSamples &&
               m_frame->decode_error_flags == 0;
  av_frame_unref(m_frame.get());
  avcodec_flush_buffers(m_codec.get());
  return whole;
}

size_t AacFrameProbe::FrameLength(const uint8_t* bytes, size_t count) {
  count = std::min(count, m_maxFrameBytes);
  if (!m_open || count == 0 || !DecodesWhole(bytes, count))
    return 0;
  // Shorter than the frame fails, the frame or longer decodes.
  size_t low = 1;
  size_t high = count;
  while (low < high) {
    const size_t middle = low + (high - low) / 2;
    if (DecodesWhole(bytes, middle))
      high = middle;
    else
      low = middle + 1;
  }
  return high;
}
