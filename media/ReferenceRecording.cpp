// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/ReferenceRecording.h"

#include "telemetry/RecordingCondition.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace {

struct InputCloser {
  void operator()(AVFormatContext* format) const { avformat_close_input(&format); }
};

std::shared_ptr<AVCodecParameters> copyParameters(const AVCodecParameters* source) {
  std::shared_ptr<AVCodecParameters> copy(avcodec_parameters_alloc(),
                                          [](AVCodecParameters* parameters) { avcodec_parameters_free(&parameters); });
  if (!copy || avcodec_parameters_copy(copy.get(), source) < 0)
    return nullptr;
  return copy;
}

ReferenceRecording::Stream streamOf(AVStream* stream) {
  ReferenceRecording::Stream taken;
  taken.parameters = copyParameters(stream->codecpar);
  taken.timeBase = {stream->time_base.num, stream->time_base.den};
  // The index's first entry keeps a start the camera shifted (audio priming).
  if (avformat_index_get_entries_count(stream) > 0)
    taken.firstTimestamp = avformat_index_get_entry(stream, 0)->timestamp;
  return taken;
}

} // namespace

bool ReferenceRecording::Open(const std::string& path, std::string& error) {
  m_path = path;
  const RecordingCondition::Kind condition = RecordingCondition::Of(path);
  if (condition != RecordingCondition::kPlayable) {
    error = path + ": " + RecordingCondition::Reason(condition);
    return false;
  }
  AVFormatContext* opened = nullptr;
  if (avformat_open_input(&opened, path.c_str(), nullptr, nullptr) < 0) {
    error = path + ": not a recording that can be read";
    return false;
  }
  std::unique_ptr<AVFormatContext, InputCloser> format(opened);
  const int video = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  const AVCodecID videoCodec = video >= 0 ? format->streams[video]->codecpar->codec_id : AV_CODEC_ID_NONE;
  if (videoCodec != AV_CODEC_ID_H264 && videoCodec != AV_CODEC_ID_HEVC) {
    error = path + ": no H.264 or H.265 video";
    return false;
  }
  AVStream* videoStream = format->streams[video];
  m_codec = videoCodec == AV_CODEC_ID_H264 ? VideoCodec::kH264 : VideoCodec::kH265;
  m_video = streamOf(videoStream);
  const AVRational rate = videoStream->avg_frame_rate.num > 0 ? videoStream->avg_frame_rate : videoStream->r_frame_rate;
  m_frameRate = {rate.num, rate.den};
  if (!m_video.parameters || m_frameRate.num <= 0 || m_frameRate.den <= 0) {
    error = path + ": no frame rate";
    return false;
  }
  const int audio = av_find_best_stream(format.get(), AVMEDIA_TYPE_AUDIO, -1, video, nullptr, 0);
  if (audio >= 0 && format->streams[audio]->codecpar->codec_id == AV_CODEC_ID_AAC)
    m_audio = streamOf(format->streams[audio]);
  return TakeNalLengthBytes(error);
}

// avcC keeps the length size in its fifth byte, hvcC in its twenty-second.
bool ReferenceRecording::TakeNalLengthBytes(std::string& error) {
  const AVCodecParameters& video = *m_video.parameters;
  const int at = m_codec == VideoCodec::kH264 ? 4 : 21;
  if (video.extradata_size <= at || video.extradata[0] != 1) {
    error = m_path + ": its video has no stream description with length-prefixed units";
    return false;
  }
  m_nalLengthBytes = (video.extradata[at] & 3) + 1;
  return true;
}
