// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/RepairedFileWriter.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, const uint8_t* bytes, size_t count) {
  while (count > 0) {
    const ssize_t written = write(fd, bytes, count);
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return false;
    bytes += written;
    count -= size_t(written);
  }
  return true;
}

int64_t scaled(int64_t count, AVRational unit, ReferenceRecording::Rational timeBase) {
  return av_rescale_q(count, unit, AVRational{timeBase.num, timeBase.den});
}

} // namespace

struct RepairedFileWriter::Output {
  AVFormatContext* format = nullptr;
  AVPacket* packet = av_packet_alloc();

  ~Output() {
    av_packet_free(&packet);
    if (format && format->pb)
      avio_closep(&format->pb);
    avformat_free_context(format);
  }
};

RepairedFileWriter::RepairedFileWriter(const ReferenceRecording& reference, bool withAudio)
    : m_reference(reference), m_withAudio(withAudio) {}

RepairedFileWriter::~RepairedFileWriter() { Discard(); }

void RepairedFileWriter::Discard() {
  m_output.reset();
  if (!m_temporary.empty())
    std::remove(m_temporary.c_str());
  m_temporary.clear();
}

bool RepairedFileWriter::Failed(int result, std::string& error) const {
  if (result >= 0)
    return false;
  char reason[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(result, reason, sizeof reason);
  error = m_destination + ": " + reason;
  return true;
}

bool RepairedFileWriter::AddStream(const ReferenceRecording::Stream& stream, std::string& error) {
  AVStream* added = avformat_new_stream(m_output->format, nullptr);
  if (!added)
    return !Failed(AVERROR(ENOMEM), error);
  added->time_base = AVRational{stream.timeBase.num, stream.timeBase.den};
  return !Failed(avcodec_parameters_copy(added->codecpar, stream.parameters.get()), error);
}

bool RepairedFileWriter::Open(const std::string& destination, std::string& error) {
  m_destination = destination;
  const size_t slash = destination.rfind('/');
  std::string pattern =
      folderOf(destination) + "/." + destination.substr(slash == std::string::npos ? 0 : slash + 1) + ".XXXXXX";
  const int fd = mkstemp(pattern.data());
  if (fd < 0) {
    error = folderOf(destination) + ": " + std::strerror(errno);
    return false;
  }
  m_temporary = pattern;
  // mkstemp makes the file private; a recording is an ordinary file.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  close(fd);
  m_output = std::make_unique<Output>();
  if (Failed(avformat_alloc_output_context2(&m_output->format, nullptr, "mp4", nullptr), error) ||
      !AddStream(m_reference.Video(), error) || (m_withAudio && !AddStream(m_reference.Audio(), error)) ||
      Failed(avio_open(&m_output->format->pb, m_temporary.c_str(), AVIO_FLAG_WRITE), error) ||
      Failed(avformat_write_header(m_output->format, nullptr), error)) {
    Discard();
    return false;
  }
  return true;
}

bool RepairedFileWriter::Write(const MediaDataWalker::Sample& sample, const uint8_t* bytes, std::string& error) {
  const bool video = sample.track == MediaDataWalker::Track::kVideo;
  const ReferenceRecording::Stream& stream = video ? m_reference.Video() : m_reference.Audio();
  const ReferenceRecording::Rational rate = m_reference.FrameRate();
  const AVRational frame = video ? AVRational{rate.den, rate.num}
                                 : AVRational{stream.parameters->frame_size > 0 ? stream.parameters->frame_size : 1024,
                                              stream.parameters->sample_rate};
  int64_t& index = video ? m_videoFrames : m_audioFrames;
  AVPacket* packet = m_output->packet;
  packet->data = const_cast<uint8_t*>(bytes);
  packet->size = int(sample.size);
  packet->stream_index = video ? 0 : 1;
  packet->dts = stream.firstTimestamp + scaled(index, frame, stream.timeBase);
  packet->pts = packet->dts;
  packet->duration = scaled(index + 1, frame, stream.timeBase) - scaled(index, frame, stream.timeBase);
  packet->flags = sample.key ? AV_PKT_FLAG_KEY : 0;
  ++index;
  const int result = av_write_frame(m_output->format, packet);
  packet->data = nullptr;
  packet->size = 0;
  if (Failed(result, error) || Failed(m_output->format->pb->error, error)) {
    Discard();
    return false;
  }
  return true;
}

bool RepairedFileWriter::AppendTrailer(const std::vector<uint8_t>& trailer, std::string& error) const {
  const int fd = open(m_temporary.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  const bool written = fd >= 0 && writeAll(fd, trailer.data(), trailer.size()) && fsync(fd) == 0;
  const int reason = errno;
  if ((fd >= 0 && close(fd) != 0) || !written) {
    error = m_destination + ": " + std::strerror(written ? errno : reason);
    return false;
  }
  return true;
}

bool RepairedFileWriter::Finish(const std::vector<uint8_t>& trailer, std::string& error) {
  if (!m_output)
    return false;
  const bool closed = !Failed(av_write_trailer(m_output->format), error) &&
                      !Failed(avio_closep(&m_output->format->pb), error) && AppendTrailer(trailer, error);
  if (!closed || std::rename(m_temporary.c_str(), m_destination.c_str()) != 0) {
    if (closed)
      error = m_destination + ": " + std::strerror(errno);
    Discard();
    return false;
  }
  m_temporary.clear();
  m_output.reset();
  return true;
}
