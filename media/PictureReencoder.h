// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

struct AVCodecContext;
struct AVCodecParameters;
struct AVFrame;
struct AVPacket;
struct AVStream;

// Decodes a recording's pictures and encodes them again with libx264, for a
// clip with the telemetry drawn on its picture. Packets go in with their
// timestamps in microseconds; pictures come out with them.
class PictureReencoder {
public:
  // libx264's speed and quality (constant rate factor).
  static constexpr const char* kPreset = "veryfast";
  static constexpr int kQuality = 21;

  PictureReencoder();
  ~PictureReencoder();
  PictureReencoder(const PictureReencoder&) = delete;
  PictureReencoder& operator=(const PictureReencoder&) = delete;

  // False, with the reason, when the video cannot be decoded or encoded.
  bool Open(const AVStream& source, std::string& error);
  // The encoded stream's description and time base, for the muxer.
  AVCodecParameters* Parameters() const { return m_parameters; }
  const AVCodecContext& Encoder() const { return *m_encoder; }

  // Decodes a packet (nullptr at the end); each picture goes to `take`,
  // which ends the decoding by returning false.
  bool Decode(const AVPacket* packet, const std::function<bool(AVFrame&)>& take, std::string& error);
  // Encodes a picture whose timestamp is in the encoder's time base (nullptr
  // at the end); each packet goes to `put`.
  bool Encode(const AVFrame* picture, const std::function<bool(AVPacket&)>& put, std::string& error);

private:
  bool OpenDecoder(const AVStream& source, std::string& error);
  bool OpenEncoder(const AVStream& source, std::string& error);
  static bool Failed(int result, const char* what, std::string& error);

  AVCodecContext* m_decoder = nullptr;
  AVCodecContext* m_encoder = nullptr;
  AVCodecParameters* m_parameters = nullptr;
  AVFrame* m_picture = nullptr;
  AVPacket* m_packet = nullptr;
};
