// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/tools/ContainerInfo.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <memory>

namespace {

struct InputCloser {
  void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};

using Input = std::unique_ptr<AVFormatContext, InputCloser>;

Input open(const std::string& path) {
  av_log_set_level(AV_LOG_QUIET);
  AVFormatContext* opened = nullptr;
  return Input(avformat_open_input(&opened, path.c_str(), nullptr, nullptr) < 0 ? nullptr : opened);
}

} // namespace

std::vector<ContainerInfo::Sample> ContainerInfo::Samples(const std::string& path) {
  std::vector<Sample> samples;
  const Input input = open(path);
  for (unsigned i = 0; input && i < input->nb_streams; ++i) {
    AVStream* stream = input->streams[i];
    for (int entry = 0; entry < avformat_index_get_entries_count(stream); ++entry) {
      const AVIndexEntry* index = avformat_index_get_entry(stream, entry);
      samples.push_back({stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO, index->pos, index->size});
    }
  }
  return samples;
}

ContainerInfo::Counts ContainerInfo::WholeBefore(const std::string& path, int64_t bytes) {
  Counts counts;
  for (const Sample& sample : Samples(path))
    if (sample.offset + sample.size <= bytes)
      ++(sample.video ? counts.pictures : counts.audioFrames);
  return counts;
}

double ContainerInfo::Seconds(const std::string& path) {
  const Input input = open(path);
  return input && input->duration > 0 ? double(input->duration) / AV_TIME_BASE : 0.0;
}

int64_t ContainerInfo::VideoFrameCount(const std::string& path) {
  const Input input = open(path);
  for (unsigned i = 0; input && i < input->nb_streams; ++i) {
    const AVStream* stream = input->streams[i];
    if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
      return stream->nb_frames > 0 ? stream->nb_frames : 0;
  }
  return 0;
}
