// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make-sample-card/Mp4Encoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
}

#include <cmath>

namespace {

constexpr int kSampleRate = 48000;
constexpr double kToneHz = 440.0;
constexpr double kBeepHz = 1000.0;

void closeFormat(AVFormatContext* format) {
  if (!format)
    return;
  if (format->pb)
    avio_closep(&format->pb);
  avformat_free_context(format);
}

void check(int result, const char* what) {
  if (result < 0) {
    char reason[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(result, reason, sizeof reason);
    throw Mp4Encoder::Error(std::string(what) + ": " + reason);
  }
}

struct CodecCloser {
  void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameCloser {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketCloser {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

} // namespace

struct Mp4Encoder::Stream {
  std::unique_ptr<AVCodecContext, CodecCloser> codec;
  std::unique_ptr<AVFrame, FrameCloser> frame{av_frame_alloc()};
  std::unique_ptr<AVPacket, PacketCloser> packet{av_packet_alloc()};
  AVStream* stream = nullptr;
};

Mp4Encoder::Mp4Encoder(const std::string& path, int width, int height, int fps, bool audio, bool hevc)
    : m_fps(fps), m_format(nullptr, closeFormat) {
  av_log_set_level(AV_LOG_ERROR);
  AVFormatContext* format = nullptr;
  check(avformat_alloc_output_context2(&format, nullptr, "mp4", path.c_str()), "output");
  m_format.reset(format);
  // No version strings or times in the file: the same seed gives the same bytes.
  format->flags |= AVFMT_FLAG_BITEXACT;
  OpenVideo(width, height, fps, hevc);
  if (audio)
    OpenAudio();
  check(avio_open(&format->pb, path.c_str(), AVIO_FLAG_WRITE), path.c_str());
  check(avformat_write_header(format, nullptr), "header");
}

Mp4Encoder::~Mp4Encoder() = default;

void Mp4Encoder::OpenVideo(int width, int height, int fps, bool hevc) {
  const AVCodec* codec = avcodec_find_encoder_by_name(hevc ? "libx265" : "libx264");
  if (!codec && hevc)
    throw Error("no H.265 encoder");
  if (!codec)
    codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
  if (!codec)
    throw Error("no H.264 or MPEG-4 encoder");
  m_video = std::make_unique<Stream>();
  m_video->codec.reset(avcodec_alloc_context3(codec));
  AVCodecContext* context = m_video->codec.get();
  context->width = width;
  context->height = height;
  context->time_base = AVRational{1, fps};
  context->framerate = AVRational{fps, 1};
  context->pix_fmt = AV_PIX_FMT_YUV420P;
  // Tagged as what the painter writes, so players do not guess the matrix
  // from the picture size.
  context->color_range = AVCOL_RANGE_MPEG;
  context->colorspace = AVCOL_SPC_SMPTE170M;
  context->color_primaries = AVCOL_PRI_SMPTE170M;
  context->color_trc = AVCOL_TRC_SMPTE170M;
  context->gop_size = fps;
  context->max_b_frames = 0;
  context->thread_count = 1;
  context->flags |= AV_CODEC_FLAG_BITEXACT | AV_CODEC_FLAG_GLOBAL_HEADER;
  if (codec->id == AV_CODEC_ID_H264) {
    av_opt_set(context->priv_data, "preset", "ultrafast", 0);
    av_opt_set(context->priv_data, "crf", "26", 0);
  } else if (codec->id == AV_CODEC_ID_HEVC) {
    av_opt_set(context->priv_data, "preset", "ultrafast", 0);
    av_opt_set(context->priv_data, "crf", "28", 0);
    // One frame thread keeps the bytes the same from run to run.
    av_opt_set(context->priv_data, "x265-params", "log-level=error:bframes=0:open-gop=0:frame-threads=1", 0);
  } else {
    context->bit_rate = int64_t{width} * height * fps / 8;
  }
  check(avcodec_open2(context, codec, nullptr), "video encoder");
  m_video->stream = avformat_new_stream(m_format.get(), nullptr);
  check(avcodec_parameters_from_context(m_video->stream->codecpar, context), "video parameters");
  // The tag players expect of H.265 in MP4, parameter sets in the sample entry only.
  if (codec->id == AV_CODEC_ID_HEVC)
    m_video->stream->codecpar->codec_tag = MKTAG('h', 'v', 'c', '1');
  m_video->stream->time_base = context->time_base;

  AVFrame* frame = m_video->frame.get();
  frame->format = context->pix_fmt;
  frame->width = width;
  frame->height = height;
  check(av_frame_get_buffer(frame, 0), "video frame");
}

void Mp4Encoder::OpenAudio() {
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_AAC);
  if (!codec)
    throw Error("no AAC encoder");
  m_audio = std::make_unique<Stream>();
  m_audio->codec.reset(avcodec_alloc_context3(codec));
  AVCodecContext* context = m_audio->codec.get();
  context->sample_fmt = AV_SAMPLE_FMT_FLTP;
  context->sample_rate = kSampleRate;
  context->bit_rate = 64000;
  context->time_base = AVRational{1, kSampleRate};
  context->flags |= AV_CODEC_FLAG_BITEXACT | AV_CODEC_FLAG_GLOBAL_HEADER;
  av_channel_layout_default(&context->ch_layout, 1);
  check(avcodec_open2(context, codec, nullptr), "audio encoder");
  m_audio->stream = avformat_new_stream(m_format.get(), nullptr);
  check(avcodec_parameters_from_context(m_audio->stream->codecpar, context), "audio parameters");
  m_audio->stream->time_base = context->time_base;

  AVFrame* frame = m_audio->frame.get();
  frame->format = context->sample_fmt;
  frame->sample_rate = kSampleRate;
  frame->nb_samples = context->frame_size;
  check(av_channel_layout_copy(&frame->ch_layout, &context->ch_layout), "audio layout");
  check(av_frame_get_buffer(frame, 0), "audio frame");
}

void Mp4Encoder::Encode(Stream& stream, AVFrame* frame) {
  check(avcodec_send_frame(stream.codec.get(), frame), "encode");
  AVPacket* packet = stream.packet.get();
  for (;;) {
    const int result = avcodec_receive_packet(stream.codec.get(), packet);
    if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
      return;
    check(result, "encode");
    // Without a duration the muxer cuts every track one frame short.
    if (packet->duration == 0 && stream.codec->codec_type == AVMEDIA_TYPE_VIDEO)
      packet->duration = 1;
    av_packet_rescale_ts(packet, stream.codec->time_base, stream.stream->time_base);
    packet->stream_index = stream.stream->index;
    check(av_interleaved_write_frame(m_format.get(), packet), "write");
  }
}

// A quiet tone with a short beep at the start of every second.
void Mp4Encoder::EncodeAudioUpTo(int64_t videoFrames) {
  if (!m_audio)
    return;
  AVFrame* frame = m_audio->frame.get();
  const int64_t until = videoFrames * kSampleRate / m_fps;
  while (m_audioSamples < until) {
    check(av_frame_make_writable(frame), "audio frame");
    auto* samples = reinterpret_cast<float*>(frame->data[0]);
    for (int i = 0; i < frame->nb_samples; ++i) {
      const int64_t n = m_audioSamples + i;
      const bool beep = n % kSampleRate < kSampleRate / 10;
      const double hz = beep ? kBeepHz : kToneHz;
      samples[i] = static_cast<float>((beep ? 0.3 : 0.1) * std::sin(2.0 * M_PI * hz * double(n) / kSampleRate));
    }
    frame->pts = m_audioSamples;
    m_audioSamples += frame->nb_samples;
    Encode(*m_audio, frame);
  }
}

void Mp4Encoder::AddFrame(const uint8_t* const planes[3], const int strides[3]) {
  AVFrame* frame = m_video->frame.get();
  check(av_frame_make_writable(frame), "video frame");
  av_image_copy(frame->data, frame->linesize, const_cast<const uint8_t**>(planes), strides, AV_PIX_FMT_YUV420P,
                frame->width, frame->height);
  frame->pts = m_videoFrames++;
  Encode(*m_video, frame);
  EncodeAudioUpTo(m_videoFrames);
}

void Mp4Encoder::Finish() {
  if (m_finished)
    return;
  m_finished = true;
  Encode(*m_video, nullptr);
  if (m_audio)
    Encode(*m_audio, nullptr);
  check(av_write_trailer(m_format.get()), "trailer");
  check(avio_closep(&m_format->pb), "close");
}
