// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/MuxedFile.h"

#include "media/FfmpegError.h"

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

} // namespace

struct MuxedFile::Output {
  AVFormatContext* format = nullptr;

  ~Output() {
    if (format && format->pb)
      avio_closep(&format->pb);
    avformat_free_context(format);
  }
};

MuxedFile::MuxedFile() = default;

MuxedFile::~MuxedFile() { Discard(); }

void MuxedFile::Discard() {
  m_output.reset();
  if (!m_temporary.empty())
    std::remove(m_temporary.c_str());
  m_temporary.clear();
}

bool MuxedFile::Failed(int result, std::string& error) const {
  if (result >= 0)
    return false;
  error = m_destination + ": " + FfmpegError::Text(result);
  return true;
}

bool MuxedFile::CreateTemporary(std::string& error) {
  const size_t slash = m_destination.rfind('/');
  std::string pattern =
      folderOf(m_destination) + "/." + m_destination.substr(slash == std::string::npos ? 0 : slash + 1) + ".XXXXXX";
  const int fd = mkstemp(pattern.data());
  if (fd < 0) {
    error = folderOf(m_destination) + ": " + std::strerror(errno);
    return false;
  }
  m_temporary = pattern;
  // mkstemp makes the file private; a recording is an ordinary file.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  close(fd);
  return true;
}

bool MuxedFile::AddStream(const Stream& stream, std::string& error) {
  AVStream* added = avformat_new_stream(m_output->format, nullptr);
  if (!added)
    return !Failed(AVERROR(ENOMEM), error);
  added->time_base = AVRational{stream.timeBaseNum, stream.timeBaseDen};
  return !Failed(avcodec_parameters_copy(added->codecpar, stream.parameters), error);
}

bool MuxedFile::Open(const std::string& destination, const std::vector<Stream>& streams, std::string& error) {
  m_destination = destination;
  if (!CreateTemporary(error))
    return false;
  m_output = std::make_unique<Output>();
  bool opened = !Failed(avformat_alloc_output_context2(&m_output->format, nullptr, "mp4", nullptr), error);
  for (const Stream& stream : streams)
    opened = opened && AddStream(stream, error);
  opened = opened && !Failed(avio_open(&m_output->format->pb, m_temporary.c_str(), AVIO_FLAG_WRITE), error) &&
           !Failed(avformat_write_header(m_output->format, nullptr), error);
  if (!opened)
    Discard();
  return opened;
}

AVRational MuxedFile::TimeBase(int stream) const { return m_output->format->streams[stream]->time_base; }

bool MuxedFile::Write(AVPacket* packet, std::string& error) {
  if (Failed(av_write_frame(m_output->format, packet), error) || Failed(m_output->format->pb->error, error)) {
    Discard();
    return false;
  }
  return true;
}

bool MuxedFile::AppendTrailer(const std::vector<uint8_t>& trailer, std::string& error) const {
  const int fd = open(m_temporary.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  const bool written = fd >= 0 && writeAll(fd, trailer.data(), trailer.size()) && fsync(fd) == 0;
  const int reason = errno;
  if ((fd >= 0 && close(fd) != 0) || !written) {
    error = m_destination + ": " + std::strerror(written ? errno : reason);
    return false;
  }
  return true;
}

bool MuxedFile::Finish(const std::vector<uint8_t>& trailer, std::string& error) {
  if (!m_output)
    return false;
  const bool closed = !Failed(av_write_trailer(m_output->format), error) &&
                      !Failed(avio_closep(&m_output->format->pb), error) && AppendTrailer(trailer, error);
  m_output.reset();
  if (!closed)
    Discard();
  return closed;
}

bool MuxedFile::Commit(std::string& error) {
  if (m_temporary.empty() || m_output)
    return false;
  if (std::rename(m_temporary.c_str(), m_destination.c_str()) != 0) {
    error = m_destination + ": " + std::strerror(errno);
    Discard();
    return false;
  }
  m_temporary.clear();
  return true;
}
