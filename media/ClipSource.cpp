// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/ClipSource.h"

#include "media/FfmpegError.h"
#include "media/MicrosecondTimeBase.h"
#include "telemetry/RecordingCondition.h"
#include "telemetry/UserDataFile.h"

extern "C" {
#include <libavformat/avformat.h>
}

ClipSource::~ClipSource() { avformat_close_input(&m_format); }

bool ClipSource::Failed(int result, std::string& error) const {
  if (result >= 0)
    return false;
  error = m_path + ": " + FfmpegError::Text(result);
  return true;
}

bool ClipSource::Open(const std::string& path, std::string& error) {
  m_path = path;
  const RecordingCondition::Kind condition = RecordingCondition::Of(path);
  m_cutShort = condition == RecordingCondition::kIndexMissing;
  if (condition != RecordingCondition::kPlayable) {
    error = path + ": " + RecordingCondition::Reason(condition);
    return false;
  }
  if (Failed(avformat_open_input(&m_format, path.c_str(), nullptr, nullptr), error))
    return false;
  m_video = av_find_best_stream(m_format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  m_audio = av_find_best_stream(m_format, AVMEDIA_TYPE_AUDIO, -1, m_video, nullptr, 0);
  if (m_video < 0 || avformat_index_get_entries_count(Video()) == 0) {
    error = path + ": no video to cut from";
    return false;
  }
  const int pictures = avformat_index_get_entries_count(Video());
  m_start = av_rescale_q(avformat_index_get_entry(Video(), 0)->timestamp, Video()->time_base, kMicrosecondTimeBase);
  m_microseconds = Video()->duration > 0 ? av_rescale_q(Video()->duration, Video()->time_base, kMicrosecondTimeBase)
                                         : PictureMicroseconds(pictures - 1);
  LoadTelemetry();
  return true;
}

void ClipSource::LoadTelemetry() {
  if (UdatLocator::Locate(m_path, m_area) != UdatLocator::kFound ||
      UserDataFile::Index(m_records, m_area.bytes.get(), m_area.length) != 0)
    return;
  m_records.SetRecordCount(uint32_t(avformat_index_get_entries_count(Video())));
  m_hasTelemetry = true;
}

AVStream* ClipSource::Video() const { return m_format->streams[m_video]; }

AVStream* ClipSource::Audio() const { return m_audio >= 0 ? m_format->streams[m_audio] : nullptr; }

// Every stream is timed from the first picture: sound may start before it
// (an encoder's priming samples).
int64_t ClipSource::MicrosecondsOf(const AVStream& stream, int64_t timestamp) const {
  return av_rescale_q(timestamp, stream.time_base, kMicrosecondTimeBase) - m_start;
}

int64_t ClipSource::PictureMicroseconds(int64_t picture) const {
  return MicrosecondsOf(*Video(), avformat_index_get_entry(Video(), int(picture))->timestamp);
}

namespace {

int64_t timestampOf(const AVStream& stream, int64_t microseconds) {
  return av_rescale_q(microseconds, kMicrosecondTimeBase, stream.time_base);
}

} // namespace

int64_t ClipSource::PictureAtOrBefore(int64_t microseconds, bool key) const {
  const int flags = AVSEEK_FLAG_BACKWARD | (key ? 0 : AVSEEK_FLAG_ANY);
  const int found = av_index_search_timestamp(Video(), timestampOf(*Video(), microseconds + m_start), flags);
  return found < 0 ? 0 : found;
}

int64_t ClipSource::PictureAtOrAfter(int64_t microseconds) const {
  const int found = av_index_search_timestamp(Video(), timestampOf(*Video(), microseconds + m_start), AVSEEK_FLAG_ANY);
  return found < 0 ? avformat_index_get_entries_count(Video()) - 1 : found;
}

bool ClipSource::SeekTo(int64_t picture, std::string& error) {
  const int64_t timestamp = avformat_index_get_entry(Video(), int(picture))->timestamp;
  return !Failed(av_seek_frame(m_format, m_video, timestamp, AVSEEK_FLAG_BACKWARD), error);
}

bool ClipSource::Read(AVPacket* packet, std::string& error) {
  const int result = av_read_frame(m_format, packet);
  return result != AVERROR_EOF && !Failed(result, error);
}

const uint8_t* ClipSource::TimeRecord(uint32_t position) const {
  return m_hasTelemetry ? m_records.GetTimeRecord(position) : nullptr;
}

const uint8_t* ClipSource::GpsRecord(uint32_t position) const {
  return m_hasTelemetry ? m_records.GetGpsRecord(position) : nullptr;
}

const uint8_t* ClipSource::SensorRecord(uint32_t position) const {
  return m_hasTelemetry ? m_records.GetSensorRecord(position) : nullptr;
}
