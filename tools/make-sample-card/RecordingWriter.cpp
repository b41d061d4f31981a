// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make-sample-card/RecordingWriter.h"

#include "telemetry/Mp4BoxReader.h"
#include "telemetry/RecordingFile.h"
#include "tools/make-sample-card/DrivePlan.h"
#include "tools/make-sample-card/FramePainter.h"
#include "tools/make-sample-card/Mp4Encoder.h"
#include "tools/make-sample-card/UdatBuilder.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

constexpr size_t kHeaderBytes = 8;

// Offset of the last top-level box of a well-formed file.
uint64_t lastBoxOffset(const std::string& path) {
  const RecordingFile file(path);
  Mp4BoxReader reader = Mp4BoxReader::OfFile(file);
  Mp4BoxReader::Box box;
  uint64_t last = 0;
  while (reader.Next(box) == Mp4BoxReader::kBox)
    last = box.offset;
  return last;
}

} // namespace

RecordingWriter::RecordingWriter(const RecordingOptions& options) : m_options(options) {}

void RecordingWriter::EncodeVideo(const std::string& path) const {
  Mp4Encoder encoder(path, m_options.width, m_options.height, m_options.fps, m_options.audio,
                     m_options.coding == VideoCoding::H265);
  FramePainter painter(m_options.width, m_options.height);
  const int period = m_options.colorPeriod > 0 ? m_options.colorPeriod : m_options.fps;
  for (int frame = 0; frame < m_options.FrameCount(); ++frame) {
    if (m_options.solidColors)
      painter.PaintSolid(frame / period);
    else
      painter.PaintScene(frame, m_options.fps, m_options.start.Plus(frame / m_options.fps).SecondOfDay());
    const uint8_t* const planes[3] = {painter.Plane(0), painter.Plane(1), painter.Plane(2)};
    const int strides[3] = {painter.Stride(0), painter.Stride(1), painter.Stride(2)};
    encoder.AddFrame(planes, strides);
  }
  encoder.Finish();
}

void RecordingWriter::SpoilLastBoxSize(const std::string& path, uint32_t size) const {
  const uint64_t offset = lastBoxOffset(path);
  std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
  const uint8_t bytes[4] = {uint8_t(size >> 24), uint8_t(size >> 16), uint8_t(size >> 8), uint8_t(size)};
  file.seekp(std::streamoff(offset));
  if (!file.write(reinterpret_cast<const char*>(bytes), sizeof bytes))
    throw std::runtime_error("cannot rewrite " + path);
}

// As the file stood when the power failed: the media data box still has the
// size 0 the muxer writes first (to the end of the file), part of its data is
// there, and the index and the telemetry area that follow it never came.
void RecordingWriter::CutPower(const std::string& path, double fraction) {
  const RecordingFile file(path);
  Mp4BoxReader reader = Mp4BoxReader::OfFile(file);
  Mp4BoxReader::Box box;
  while (reader.Next(box) == Mp4BoxReader::kBox && !box.Is("mdat")) {
  }
  if (!box.Is("mdat"))
    throw std::runtime_error("no media data in " + path);
  const uint64_t kept = uint64_t(double(box.PayloadSize()) * fraction);
  std::fstream rewritten(path, std::ios::in | std::ios::out | std::ios::binary);
  const char unknownSize[4] = {0, 0, 0, 0};
  rewritten.seekp(std::streamoff(box.offset));
  if (box.headerBytes != kHeaderBytes || !rewritten.write(unknownSize, sizeof unknownSize) || !rewritten.flush())
    throw std::runtime_error("cannot rewrite " + path);
  std::filesystem::resize_file(path, box.PayloadOffset() + kept);
}

void RecordingWriter::AppendUdat(const std::string& path, const std::vector<uint8_t>& udat) const {
  std::ofstream file(path, std::ios::binary | std::ios::app);
  if (!file.write(reinterpret_cast<const char*>(udat.data()), std::streamsize(udat.size())))
    throw std::runtime_error("cannot append to " + path);
}

int RecordingWriter::Write(const std::string& path) const {
  EncodeVideo(path);
  const DrivePlan plan(m_options);
  if (m_options.Has(Fault::PowerCut)) {
    CutPower(path, m_options.cutFraction);
    return plan.BrakeSecond();
  }
  if (m_options.Has(Fault::BoxSize0))
    SpoilLastBoxSize(path, 0);
  if (m_options.Has(Fault::BoxSize1))
    SpoilLastBoxSize(path, 1);
  if (m_options.Has(Fault::BoxSize7))
    SpoilLastBoxSize(path, 7);

  if (m_options.Has(Fault::NoUdat))
    return plan.BrakeSecond();
  const uint64_t udatOffset = std::filesystem::file_size(path);
  const std::vector<uint8_t> udat = UdatBuilder(m_options, plan).Build();
  AppendUdat(path, udat);

  const uint64_t timeBytes = kHeaderBytes + uint64_t(m_options.FrameCount()) * UdatBuilder::kTimeRecordBytes;
  const uint64_t gpsBytes = kHeaderBytes + uint64_t(m_options.FrameCount()) * UdatBuilder::kGpsRecordBytes;
  if (m_options.Has(Fault::Truncated))
    std::filesystem::resize_file(path, udatOffset + kHeaderBytes + timeBytes + gpsBytes / 2);
  else if (m_options.Has(Fault::ShortSens))
    std::filesystem::resize_file(path, udatOffset + udat.size() -
                                           uint64_t(m_options.FrameCount() / 2) * UdatBuilder::kSensorRecordBytes);
  return plan.BrakeSecond();
}
