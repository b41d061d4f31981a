// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "telemetry/QIRAUDAT.h"
#include "telemetry/UdatLocator.h"

#include <cstdint>
#include <string>

struct AVFormatContext;
struct AVPacket;
struct AVStream;

// One recording a clip is cut from, opened with libavformat from its index
// (no frame is decoded to open it), with its telemetry records.
class ClipSource {
public:
  ClipSource() = default;
  ~ClipSource();
  ClipSource(const ClipSource&) = delete;
  ClipSource& operator=(const ClipSource&) = delete;

  // False, with the reason, for a file that is no recording with video (a
  // recording cut short says so).
  bool Open(const std::string& path, std::string& error);

  const std::string& Path() const { return m_path; }
  // The recording was cut short by a power loss: its index was never written.
  bool CutShort() const { return m_cutShort; }
  AVStream* Video() const;
  // Nothing without sound.
  AVStream* Audio() const;
  // The video's length in microseconds.
  int64_t Microseconds() const { return m_microseconds; }
  // A stream's timestamp as microseconds from the recording's first picture.
  int64_t MicrosecondsOf(const AVStream& stream, int64_t timestamp) const;

  // The sample index of the picture at or before `microseconds` (a key
  // picture, or any), and of the first picture at or after it.
  int64_t PictureAtOrBefore(int64_t microseconds, bool key) const;
  int64_t PictureAtOrAfter(int64_t microseconds) const;
  int64_t PictureMicroseconds(int64_t picture) const;
  // Makes the next read start at picture `picture` (with the sound of its time).
  bool SeekTo(int64_t picture, std::string& error);
  // The next packet; false at the end, with `error` set when the file
  // cannot be read.
  bool Read(AVPacket* packet, std::string& error);

  // The telemetry records of a position; none without them.
  bool HasTelemetry() const { return m_hasTelemetry; }
  const uint8_t* TimeRecord(uint32_t position) const;
  const uint8_t* GpsRecord(uint32_t position) const;
  const uint8_t* SensorRecord(uint32_t position) const;

private:
  bool Failed(int result, std::string& error) const;
  void LoadTelemetry();

  std::string m_path;
  AVFormatContext* m_format = nullptr;
  int m_video = -1;
  int m_audio = -1;
  int64_t m_microseconds = 0;
  int64_t m_start = 0; // the first picture's time in microseconds
  UdatLocator::Area m_area;
  QIRAUDAT m_records;
  bool m_hasTelemetry = false;
  bool m_cutShort = false;
};
