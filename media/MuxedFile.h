// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct AVCodecParameters;
struct AVPacket;
struct AVRational;

// An MP4 file written through FFmpeg's muxer under a temporary name beside
// its destination and renamed only once it is whole: a file that is not
// finished (an error, a cancel, a full disk) leaves nothing behind.
class MuxedFile {
public:
  struct Stream {
    const AVCodecParameters* parameters = nullptr;
    int timeBaseNum = 1;
    int timeBaseDen = 1;
  };

  MuxedFile();
  ~MuxedFile();
  MuxedFile(const MuxedFile&) = delete;
  MuxedFile& operator=(const MuxedFile&) = delete;

  // False, with the reason, when the destination's folder takes no file or
  // the muxer refuses a stream.
  bool Open(const std::string& destination, const std::vector<Stream>& streams, std::string& error);
  // The time base the muxer chose for a stream, once open.
  AVRational TimeBase(int stream) const;
  // Writes one packet whose timestamps are in the stream's time base; the
  // packet's data stays the caller's.
  bool Write(AVPacket* packet, std::string& error);
  // Closes the index and appends `trailer` after it; the file is whole but
  // still under its temporary name.
  bool Finish(const std::vector<uint8_t>& trailer, std::string& error);
  // Gives a finished file its name.
  bool Commit(std::string& error);
  // The file under its temporary name, to be read back before it is named.
  const std::string& TemporaryPath() const { return m_temporary; }
  void Discard();

private:
  struct Output;
  bool CreateTemporary(std::string& error);
  bool AddStream(const Stream& stream, std::string& error);
  bool Failed(int result, std::string& error) const;
  bool AppendTrailer(const std::vector<uint8_t>& trailer, std::string& error) const;

  std::string m_destination;
  std::string m_temporary;
  std::unique_ptr<Output> m_output;
};
