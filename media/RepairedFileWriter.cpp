// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/RepairedFileWriter.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace {

int64_t scaled(int64_t count, AVRational unit, ReferenceRecording::Rational timeBase) {
  return av_rescale_q(count, unit, AVRational{timeBase.num, timeBase.den});
}

MuxedFile::Stream muxed(const ReferenceRecording::Stream& stream) {
  return MuxedFile::Stream{stream.parameters.get(), stream.timeBase.num, stream.timeBase.den};
}

} // namespace

RepairedFileWriter::RepairedFileWriter(const ReferenceRecording& reference, bool withAudio)
    : m_reference(reference), m_withAudio(withAudio), m_packet(av_packet_alloc()) {}

RepairedFileWriter::~RepairedFileWriter() { av_packet_free(&m_packet); }

bool RepairedFileWriter::Open(const std::string& destination, std::string& error) {
  std::vector<MuxedFile::Stream> streams{muxed(m_reference.Video())};
  if (m_withAudio)
    streams.push_back(muxed(m_reference.Audio()));
  return m_file.Open(destination, streams, error);
}

bool RepairedFileWriter::Write(const MediaDataWalker::Sample& sample, const uint8_t* bytes, std::string& error) {
  const bool video = sample.track == MediaDataWalker::Track::kVideo;
  const ReferenceRecording::Stream& stream = video ? m_reference.Video() : m_reference.Audio();
  const ReferenceRecording::Rational rate = m_reference.FrameRate();
  const AVRational frame = video ? AVRational{rate.den, rate.num}
                                 : AVRational{stream.parameters->frame_size > 0 ? stream.parameters->frame_size : 1024,
                                              stream.parameters->sample_rate};
  int64_t& index = video ? m_videoFrames : m_audioFrames;
  AVPacket* packet = m_packet;
  packet->data = const_cast<uint8_t*>(bytes);
  packet->size = int(sample.size);
  packet->stream_index = video ? 0 : 1;
  packet->dts = stream.firstTimestamp + scaled(index, frame, stream.timeBase);
  packet->pts = packet->dts;
  packet->duration = scaled(index + 1, frame, stream.timeBase) - scaled(index, frame, stream.timeBase);
  packet->flags = sample.key ? AV_PKT_FLAG_KEY : 0;
  ++index;
  const bool written = m_file.Write(packet, error);
  packet->data = nullptr;
  packet->size = 0;
  return written;
}

bool RepairedFileWriter::Finish(const std::vector<uint8_t>& trailer, std::string& error) {
  return m_file.Finish(trailer, error) && m_file.Commit(error);
}
