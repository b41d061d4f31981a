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

} // namespace

int64_t ContainerInfo::VideoFrameCount(const std::string& path) {
  av_log_set_level(AV_LOG_QUIET);
  AVFormatContext* opened = nullptr;
  if (avformat_open_input(&opened, path.c_str(), nullptr, nullptr) < 0)
    return 0;
  const std::unique_ptr<AVFormatContext, InputCloser> input(opened);
  for (unsigned i = 0; i < input->nb_streams; ++i) {
    const AVStream* stream = input->streams[i];
    if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
      return stream->nb_frames > 0 ? stream->nb_frames : 0;
  }
  return 0;
}
