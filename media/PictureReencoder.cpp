// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/PictureReencoder.h"

#include "media/FfmpegError.h"
#include "media/MicrosecondTimeBase.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
}

PictureReencoder::PictureReencoder()
    : m_parameters(avcodec_parameters_alloc()), m_picture(av_frame_alloc()), m_packet(av_packet_alloc()) {}

PictureReencoder::~PictureReencoder() {
  avcodec_free_context(&m_decoder);
  avcodec_free_context(&m_encoder);
  avcodec_parameters_free(&m_parameters);
  av_frame_free(&m_picture);
  av_packet_free(&m_packet);
}

bool PictureReencoder::Failed(int result, const char* what, std::string& error) {
  if (result >= 0)
    return false;
  error = std::string(what) + ": " + FfmpegError::Text(result);
  return true;
}

bool PictureReencoder::OpenDecoder(const AVStream& source, std::string& error) {
  const AVCodec* codec = avcodec_find_decoder(source.codecpar->codec_id);
  m_decoder = codec ? avcodec_alloc_context3(codec) : nullptr;
  if (!m_decoder) {
    error = "no decoder for the recording's video";
    return false;
  }
  m_decoder->thread_count = 0;
  m_decoder->pkt_timebase = kMicrosecondTimeBase;
  return !Failed(avcodec_parameters_to_context(m_decoder, source.codecpar), "video decoder", error) &&
         !Failed(avcodec_open2(m_decoder, codec, nullptr), "video decoder", error);
}

bool PictureReencoder::OpenEncoder(const AVStream& source, std::string& error) {
  const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
  m_encoder = codec ? avcodec_alloc_context3(codec) : nullptr;
  if (!m_encoder) {
    error = "FFmpeg has no libx264 encoder";
    return false;
  }
  const AVCodecParameters& in = *source.codecpar;
  m_encoder->width = in.width;
  m_encoder->height = in.height;
  m_encoder->pix_fmt = AV_PIX_FMT_YUV420P;
  m_encoder->sample_aspect_ratio = in.sample_aspect_ratio;
  m_encoder->color_range = in.color_range;
  m_encoder->colorspace = in.color_space;
  m_encoder->color_primaries = in.color_primaries;
  m_encoder->color_trc = in.color_trc;
  m_encoder->time_base = source.time_base;
  m_encoder->framerate = source.avg_frame_rate.num > 0 ? source.avg_frame_rate : source.r_frame_rate;
  m_encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  m_encoder->thread_count = 0;
  av_opt_set(m_encoder->priv_data, "preset", kPreset, 0);
  av_opt_set_int(m_encoder->priv_data, "crf", kQuality, 0);
  return !Failed(avcodec_open2(m_encoder, codec, nullptr), "libx264", error) &&
         !Failed(avcodec_parameters_from_context(m_parameters, m_encoder), "libx264", error);
}

bool PictureReencoder::Open(const AVStream& source, std::string& error) {
  return OpenDecoder(source, error) && OpenEncoder(source, error);
}

bool PictureReencoder::Decode(const AVPacket* packet, const std::function<bool(AVFrame&)>& take, std::string& error) {
  if (Failed(avcodec_send_packet(m_decoder, packet), "decoding the video", error))
    return false;
  for (;;) {
    const int result = avcodec_receive_frame(m_decoder, m_picture);
    if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
      return true;
    if (Failed(result, "decoding the video", error))
      return false;
    m_picture->pts = m_picture->best_effort_timestamp;
    const bool taken = take(*m_picture);
    av_frame_unref(m_picture);
    if (!taken)
      return false;
  }
}

bool PictureReencoder::Encode(const AVFrame* picture, const std::function<bool(AVPacket&)>& put, std::string& error) {
  if (Failed(avcodec_send_frame(m_encoder, picture), "libx264", error))
    return false;
  for (;;) {
    const int result = avcodec_receive_packet(m_encoder, m_packet);
    if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
      return true;
    if (Failed(result, "libx264", error))
      return false;
    const bool written = put(*m_packet);
    av_packet_unref(m_packet);
    if (!written)
      return false;
  }
}
