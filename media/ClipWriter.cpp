// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/ClipWriter.h"

#include "media/MicrosecondTimeBase.h"
#include "media/RecordingStamp.h"
#include "telemetry/GpxFormat.h"
#include "telemetry/OutputFile.h"
#include "telemetry/RecordingTelemetry.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

int64_t microseconds(double seconds) { return std::llround(seconds * 1e6); }

std::string secondsText(int64_t microseconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f s", double(microseconds) / 1e6);
  return text;
}

// Pictures or sound that can follow each other in one stream of one file.
bool alike(const AVStream* a, const AVStream* b) {
  if (!a || !b)
    return a == b;
  const AVCodecParameters& x = *a->codecpar;
  const AVCodecParameters& y = *b->codecpar;
  return x.codec_id == y.codec_id && x.width == y.width && x.height == y.height && x.sample_rate == y.sample_rate &&
         x.ch_layout.nb_channels == y.ch_layout.nb_channels && x.extradata_size == y.extradata_size &&
         (x.extradata_size == 0 || std::memcmp(x.extradata, y.extradata, size_t(x.extradata_size)) == 0);
}

bool sameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error);
}

MuxedFile::Stream muxed(const AVCodecParameters* parameters, AVRational timeBase) {
  return MuxedFile::Stream{parameters, timeBase.num, timeBase.den};
}

} // namespace

ClipWriter::ClipWriter(const Request& request)
    : m_request(request), m_telemetry(request.withPositions),
      m_overlay(request.units, request.burnInPosition && request.withPositions),
      m_progress(request.progress, request.cancel), m_packet(av_packet_alloc()) {}

ClipWriter::~ClipWriter() { av_packet_free(&m_packet); }

ClipWriter::Result ClipWriter::Write(const Request& request) {
  ClipWriter writer(request);
  writer.m_result.output = request.output;
  writer.m_result.written =
      writer.OpenSources() && writer.Plan() && writer.OpenOutput() && writer.CopySegments() && writer.Finish();
  return writer.m_result;
}

ClipWriter::Result ClipWriter::Preview(const Request& request) {
  ClipWriter writer(request);
  if (writer.OpenSources())
    writer.Plan();
  return writer.m_result;
}

std::string ClipWriter::DefaultName(const std::string& recording, double from, double to) {
  const int64_t start = RecordingStamp::Of(recording).value_or(0);
  return std::filesystem::path(recording).stem().string() + "_" +
         RecordingStamp::TimeOfDayDigits(start + int64_t(std::floor(from))) + "-" +
         RecordingStamp::TimeOfDayDigits(start + int64_t(std::floor(to))) + ".mp4";
}

std::string ClipWriter::GpxPath(const std::string& clip) {
  return std::filesystem::path(clip).replace_extension(".gpx").string();
}

bool ClipWriter::Fail(const std::string& error) {
  m_result.error = error;
  return false;
}

bool ClipWriter::OpenSources() {
  if (m_request.recordings.empty())
    return Fail("a clip needs a recording to be cut from");
  int64_t offset = 0;
  for (const std::string& path : m_request.recordings) {
    if (sameFile(m_request.output, path))
      return Fail(m_request.output + ": a clip never replaces a recording it reads");
    m_sources.push_back(std::make_unique<ClipSource>());
    std::string error;
    if (!m_sources.back()->Open(path, error)) {
      m_result.cutShort = m_sources.back()->CutShort();
      return Fail(error);
    }
    m_offsets.push_back(offset);
    offset += m_sources.back()->Microseconds();
  }
  return true;
}

size_t ClipWriter::SegmentAt(int64_t microseconds) const {
  size_t segment = 0;
  while (segment + 1 < m_offsets.size() && m_offsets[segment + 1] <= microseconds)
    ++segment;
  return segment;
}

bool ClipWriter::AlikeSources(size_t first, size_t last) {
  const ClipSource& model = *m_sources[first];
  for (size_t segment = first + 1; segment <= last; ++segment) {
    const ClipSource& next = *m_sources[segment];
    if (!alike(model.Video(), next.Video()) || (m_request.withSound && !alike(model.Audio(), next.Audio())))
      return Fail(next.Path() + ": its picture or sound settings differ from " + model.Path() +
                  "'s, so the clip cannot run on into it");
  }
  return true;
}

bool ClipWriter::Plan() {
  const int64_t end = m_offsets.back() + m_sources.back()->Microseconds();
  m_from = microseconds(m_request.from);
  m_to = std::min(microseconds(m_request.to), end);
  if (!(m_request.from >= 0) || !(m_request.to > m_request.from))
    return Fail("a clip must end after it starts, and start at 0 s or later");
  if (m_from >= end)
    return Fail("the clip would start after the recordings' end at " + secondsText(end));
  m_firstSegment = SegmentAt(m_from);
  if (!AlikeSources(m_firstSegment, SegmentAt(m_to - 1)))
    return false;
  const ClipSource& first = *m_sources[m_firstSegment];
  const int64_t local = m_from - m_offsets[m_firstSegment];
  m_keyPicture = first.PictureAtOrBefore(local, true);
  // A picture encoded again can start anywhere; a copied one needs its key picture.
  const int64_t firstPicture = m_request.burnIn ? first.PictureAtOrAfter(local) : m_keyPicture;
  m_origin = m_offsets[m_firstSegment] + first.PictureMicroseconds(firstPicture);
  m_result.start = double(m_origin) / 1e6;
  m_result.snapped = double(std::max<int64_t>(0, m_from - m_origin)) / 1e6;
  return true;
}

bool ClipWriter::OpenOutput() {
  if (m_request.output.empty())
    return Fail("a clip needs a file to be written to");
  const ClipSource& first = *m_sources[m_firstSegment];
  std::vector<MuxedFile::Stream> streams;
  if (m_request.burnIn) {
    m_reencoder = std::make_unique<PictureReencoder>();
    if (!m_reencoder->Open(*first.Video(), m_result.error))
      return false;
    streams.push_back(muxed(m_reencoder->Parameters(), m_reencoder->Encoder().time_base));
  } else {
    streams.push_back(muxed(first.Video()->codecpar, first.Video()->time_base));
  }
  if (m_request.withSound && first.Audio())
    streams.push_back(muxed(first.Audio()->codecpar, first.Audio()->time_base));
  return m_file.Open(m_request.output, streams, m_result.error);
}

bool ClipWriter::CopySegments() {
  for (size_t segment = m_firstSegment; segment < m_sources.size() && !m_videoDone; ++segment)
    if (!CopySegment(segment))
      return false;
  if (m_reencoder && !FlushPictures())
    return false;
  return m_result.pictures > 0 || Fail("no picture lies between the marks");
}

bool ClipWriter::CopySegment(size_t segment) {
  ClipSource& source = *m_sources[segment];
  std::string error;
  if (segment == m_firstSegment && !source.SeekTo(m_keyPicture, error))
    return Fail(error);
  const AVStream* sound = m_request.withSound ? source.Audio() : nullptr;
  m_soundDone = !sound;
  while (!(m_videoDone && m_soundDone) && source.Read(m_packet, error)) {
    bool taken = true;
    if (m_packet->stream_index == source.Video()->index && !m_videoDone)
      taken = TakeVideo(segment, *m_packet);
    else if (sound && m_packet->stream_index == sound->index && !m_soundDone)
      taken = TakeAudio(segment, *m_packet);
    av_packet_unref(m_packet);
    if (!taken)
      return false;
  }
  return error.empty() || Fail(error);
}

uint32_t ClipWriter::NextPosition(size_t segment) {
  if (m_positionSegment != segment) {
    m_positionSegment = segment;
    m_position = segment == m_firstSegment ? uint32_t(m_keyPicture) : 0;
  }
  return m_position++;
}

bool ClipWriter::TakeVideo(size_t segment, AVPacket& packet) {
  const ClipSource& source = *m_sources[segment];
  const AVStream& stream = *source.Video();
  const int64_t shown = m_offsets[segment] + source.MicrosecondsOf(stream, packet.pts);
  const int64_t decoded = m_offsets[segment] + source.MicrosecondsOf(stream, packet.dts);
  if (shown >= m_to) {
    m_videoDone = true;
    return true;
  }
  if (!m_progress.Report(double(shown - m_origin) / double(std::max<int64_t>(1, m_to - m_origin))))
    return Fail("cancelled");
  if (m_reencoder) {
    packet.pts = shown;
    packet.dts = decoded;
    packet.duration = av_rescale_q(packet.duration, stream.time_base, kMicrosecondTimeBase);
    return m_reencoder->Decode(
        &packet, [this](AVFrame& picture) { return TakePicture(picture); }, m_result.error);
  }
  m_telemetry.Add(source, NextPosition(segment), shown - m_origin);
  ++m_result.pictures;
  m_result.seconds =
      double(shown - m_origin + av_rescale_q(packet.duration, stream.time_base, kMicrosecondTimeBase)) / 1e6;
  return WritePacket(packet, 0, shown - m_origin, decoded - m_origin, packet.duration, stream);
}

bool ClipWriter::TakeAudio(size_t segment, AVPacket& packet) {
  const ClipSource& source = *m_sources[segment];
  const AVStream& stream = *source.Audio();
  const int64_t shown = m_offsets[segment] + source.MicrosecondsOf(stream, packet.pts);
  // Sound before the clip, or the start of a recording's sound that the one
  // before it already covers.
  if (shown < std::max(m_origin, m_soundEnd))
    return true;
  // The next recording's sound takes over where its picture does.
  const bool nextBegun = segment + 1 < m_offsets.size() && shown >= m_offsets[segment + 1];
  if (shown >= m_to || nextBegun) {
    m_soundDone = true;
    return true;
  }
  m_soundEnd = shown + av_rescale_q(packet.duration, stream.time_base, kMicrosecondTimeBase);
  return WritePacket(packet, 1, shown - m_origin, shown - m_origin, packet.duration, stream);
}

bool ClipWriter::WritePacket(AVPacket& packet, int stream, int64_t clipMicroseconds, int64_t clipDecodeMicroseconds,
                             int64_t duration, const AVStream& from) {
  const AVRational timeBase = m_file.TimeBase(stream);
  packet.pts = av_rescale_q(clipMicroseconds, kMicrosecondTimeBase, timeBase);
  packet.dts = av_rescale_q(clipDecodeMicroseconds, kMicrosecondTimeBase, timeBase);
  packet.duration = av_rescale_q(duration, from.time_base, timeBase);
  packet.stream_index = stream;
  packet.pos = -1;
  return m_file.Write(&packet, m_result.error);
}

bool ClipWriter::TakePicture(AVFrame& picture) {
  const int64_t shown = picture.pts;
  const size_t segment = SegmentAt(shown);
  const uint32_t position = NextPosition(segment);
  if (shown < m_origin || shown >= m_to)
    return true;
  if (picture.format == AV_PIX_FMT_YUVJ420P) {
    picture.format = AV_PIX_FMT_YUV420P;
    picture.color_range = AVCOL_RANGE_JPEG;
  }
  const ClipSource& source = *m_sources[segment];
  if (picture.format != AV_PIX_FMT_YUV420P || av_frame_make_writable(&picture) < 0 ||
      !ClipOverlay::Draw(picture, m_overlay.Lines(source, position, shown - m_offsets[segment])))
    return Fail("the recording's pictures are not the 8-bit 4:2:0 ones a burned-in clip is drawn on");
  m_telemetry.Add(source, position, shown - m_origin);
  ++m_result.pictures;
  const AVCodecContext& encoder = m_reencoder->Encoder();
  m_result.seconds = double(shown - m_origin) / 1e6 + av_q2d(av_inv_q(encoder.framerate));
  picture.pts = av_rescale_q(shown - m_origin, kMicrosecondTimeBase, encoder.time_base);
  picture.pict_type = AV_PICTURE_TYPE_NONE;
  return m_reencoder->Encode(
      &picture, [this](AVPacket& packet) { return WriteEncoded(packet); }, m_result.error);
}

bool ClipWriter::WriteEncoded(AVPacket& packet) {
  const AVCodecContext& encoder = m_reencoder->Encoder();
  // The last picture's duration gives the clip its full length.
  if (packet.duration <= 0)
    packet.duration = av_rescale_q(1, av_inv_q(encoder.framerate), encoder.time_base);
  av_packet_rescale_ts(&packet, encoder.time_base, m_file.TimeBase(0));
  packet.stream_index = 0;
  return m_file.Write(&packet, m_result.error);
}

bool ClipWriter::FlushPictures() {
  return m_reencoder->Decode(
             nullptr, [this](AVFrame& picture) { return TakePicture(picture); }, m_result.error) &&
         m_reencoder->Encode(
             nullptr, [this](AVPacket& packet) { return WriteEncoded(packet); }, m_result.error);
}

bool ClipWriter::Finish() {
  const std::vector<uint8_t> area = m_telemetry.Area();
  m_result.telemetry = !area.empty();
  if (!m_file.Finish(area, m_result.error))
    return false;
  if (m_request.gpx && m_request.withPositions && m_result.telemetry) {
    RecordingTelemetry telemetry;
    if (telemetry.Load(m_file.TemporaryPath()) != 0)
      return Fail(m_request.output + ": its telemetry cannot be read back");
    std::string document;
    GpxFormat::WriteSegments({&telemetry}, std::filesystem::path(m_request.output).filename().string(), document);
    if (!OutputFile::Write(GpxPath(m_request.output), document, m_result.error))
      return false;
    m_result.gpx = GpxPath(m_request.output);
  }
  if (!m_file.Commit(m_result.error)) {
    if (!m_result.gpx.empty())
      std::remove(m_result.gpx.c_str());
    m_result.gpx.clear();
    return false;
  }
  return true;
}
