// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/ReferenceMatch.h"

#include "media/AacFrameProbe.h"
#include "media/DamagedRecording.h"
#include "media/ReferenceRecording.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

// The first seconds: enough pictures to see a key picture and its followers,
// and the sound between them.
constexpr int kSamplesLooked = 240;
constexpr size_t kPicturesDecoded = 8;
// The camera interleaves sound and pictures much closer than this.
constexpr double kMostLeadSeconds = 0.25;

struct FirstSamples {
  std::vector<MediaDataWalker::Sample> pictures; // from the first key picture on
  int pictureCount = 0;
  int audioFrames = 0;
  uint64_t skippedBytes = 0;
};

FirstSamples firstSamples(const DamagedRecording& damaged, const ReferenceRecording& reference, AacFrameProbe* audio) {
  FirstSamples first;
  MediaDataWalker walker = damaged.Walker(reference, audio);
  MediaDataWalker::Sample sample;
  for (int i = 0; i < kSamplesLooked && walker.Next(sample); ++i) {
    if (sample.track == MediaDataWalker::Track::kAudio) {
      ++first.audioFrames;
      continue;
    }
    ++first.pictureCount;
    if (first.pictures.size() < kPicturesDecoded && (sample.key || !first.pictures.empty()))
      first.pictures.push_back(sample);
  }
  first.skippedBytes = walker.SkippedBytes();
  return first;
}

struct CodecCloser {
  void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};

// A description that does not fit the pictures shows as a decoding error or
// as a concealed picture.
bool picturesDecode(const DamagedRecording& damaged, const AVCodecParameters& video,
                    const std::vector<MediaDataWalker::Sample>& pictures) {
  const AVCodec* decoder = avcodec_find_decoder(video.codec_id);
  std::unique_ptr<AVCodecContext, CodecCloser> codec(decoder ? avcodec_alloc_context3(decoder) : nullptr);
  if (!codec || avcodec_parameters_to_context(codec.get(), &video) < 0)
    return false;
  codec->thread_count = 1;
  codec->err_recognition |= AV_EF_EXPLODE | AV_EF_BITSTREAM | AV_EF_BUFFER;
  std::unique_ptr<AVPacket, void (*)(AVPacket*)> packet(av_packet_alloc(), [](AVPacket* p) { av_packet_free(&p); });
  std::unique_ptr<AVFrame, void (*)(AVFrame*)> frame(av_frame_alloc(), [](AVFrame* f) { av_frame_free(&f); });
  if (!packet || !frame || avcodec_open2(codec.get(), decoder, nullptr) < 0)
    return false;
  int decoded = 0;
  for (size_t i = 0; i <= pictures.size(); ++i) {
    const bool draining = i == pictures.size();
    if (!draining && (av_new_packet(packet.get(), int(pictures[i].size)) < 0 ||
                      !damaged.File().ReadAt(pictures[i].offset, packet->data, pictures[i].size)))
      return false;
    const int sent = avcodec_send_packet(codec.get(), draining ? nullptr : packet.get());
    av_packet_unref(packet.get());
    if (sent < 0)
      return false;
    int received;
    while ((received = avcodec_receive_frame(codec.get(), frame.get())) == 0) {
      const bool clean = frame->decode_error_flags == 0 && !(frame->flags & AV_FRAME_FLAG_CORRUPT);
      av_frame_unref(frame.get());
      if (!clean)
        return false;
      ++decoded;
    }
    if (received != AVERROR(EAGAIN) && received != AVERROR_EOF)
      return false;
  }
  return decoded == int(pictures.size());
}

// With sound, the frame rate shows: the pictures and the sound frames found
// cover the same time.
bool sameFrameRate(const ReferenceRecording& reference, const FirstSamples& first) {
  const AVCodecParameters& audio = *reference.Audio().parameters;
  const double soundSeconds =
      double(first.audioFrames) * (audio.frame_size > 0 ? audio.frame_size : 1024) / std::max(1, audio.sample_rate);
  const ReferenceRecording::Rational rate = reference.FrameRate();
  const double pictureSeconds = double(first.pictureCount) * rate.den / rate.num;
  return std::fabs(soundSeconds - pictureSeconds) <= kMostLeadSeconds;
}

} // namespace

std::string ReferenceMatch::Mismatch(const DamagedRecording& damaged, const ReferenceRecording& reference) {
  std::unique_ptr<AacFrameProbe> audio;
  if (reference.HasAudio()) {
    audio = std::make_unique<AacFrameProbe>(*reference.Audio().parameters);
    if (!audio->IsOpen())
      return "its sound cannot be decoded";
  }
  const FirstSamples first = firstSamples(damaged, reference, audio.get());
  if (first.pictures.empty() || !picturesDecode(damaged, *reference.Video().parameters, first.pictures))
    return "its video settings differ from the damaged recording's";
  if (!reference.HasAudio() && first.skippedBytes > 0)
    return "the damaged recording has sound, the reference has none";
  if (reference.HasAudio() && first.skippedBytes > 0)
    return "its sound settings differ from the damaged recording's";
  if (reference.HasAudio() && first.audioFrames == 0)
    return "the reference has sound, the damaged recording has none";
  if (reference.HasAudio() && !sameFrameRate(reference, first))
    return "its frame rate differs from the damaged recording's";
  return "";
}
