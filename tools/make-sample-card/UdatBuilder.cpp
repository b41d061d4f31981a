// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make-sample-card/UdatBuilder.h"

#include "tools/make-sample-card/NmeaSentence.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kHeaderBytes = 8;
constexpr int kVoidSeconds = 3;
constexpr int kBadRecordSecond = 1;

void appendBigEndian32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<uint8_t>(value >> shift));
}

void appendLittleEndianFloat(std::vector<uint8_t>& out, float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<uint8_t>(bits >> shift));
}

// A box of the given type whose header holds the final size.
std::vector<uint8_t> startBox(const char* type) {
  std::vector<uint8_t> box(kHeaderBytes);
  std::memcpy(box.data() + 4, type, 4);
  return box;
}

void closeBox(std::vector<uint8_t>& box) {
  const auto size = static_cast<uint32_t>(box.size());
  for (int i = 0; i < 4; ++i)
    box[size_t(i)] = static_cast<uint8_t>(size >> (24 - 8 * i));
}

} // namespace

UdatBuilder::UdatBuilder(const RecordingOptions& options, const DrivePlan& plan) : m_options(options), m_plan(plan) {}

std::vector<uint8_t> UdatBuilder::TimeBox() const {
  std::vector<uint8_t> box = startBox("TIME");
  for (int frame = 0; frame < m_options.FrameCount(); ++frame)
    appendBigEndian32(box, static_cast<uint32_t>(int64_t{frame} * 1000 / m_options.fps));
  closeBox(box);
  return box;
}

std::string UdatBuilder::SentenceForSecond(int second) const {
  const Stamp time = m_options.start.Plus(second - m_options.clockOffsetSeconds);
  if (m_options.Has(Fault::VoidFix) && second < kVoidSeconds)
    return NmeaSentence::VoidFix(time);
  const DrivePlan::Sample& sample = m_plan.Samples()[m_options.FirstSample() + size_t(second) * size_t(m_options.fps)];
  std::string sentence = NmeaSentence::Fix(time, sample);
  if (m_options.Has(Fault::BadRecord) && second == kBadRecordSecond)
    sentence[0] = '#';
  return sentence;
}

std::vector<uint8_t> UdatBuilder::GpsBox() const {
  std::vector<uint8_t> box = startBox("GPSI");
  for (int frame = 0; frame < m_options.FrameCount(); ++frame) {
    const size_t record = box.size();
    box.resize(record + kGpsRecordBytes, 0);
    if (frame % m_options.fps == 0) {
      const std::string sentence = SentenceForSecond(frame / m_options.fps);
      std::memcpy(box.data() + record, sentence.data(), std::min(sentence.size(), kGpsRecordBytes - 1));
    }
  }
  closeBox(box);
  return box;
}

std::vector<uint8_t> UdatBuilder::SensorBox() const {
  std::vector<uint8_t> box = startBox("SENS");
  const auto first = m_plan.Samples().begin() + std::ptrdiff_t(m_options.FirstSample());
  for (auto sample = first; sample != first + m_options.FrameCount(); ++sample) {
    appendLittleEndianFloat(box, sample->y);
    appendLittleEndianFloat(box, sample->x);
    appendLittleEndianFloat(box, sample->z);
  }
  closeBox(box);
  return box;
}

std::vector<uint8_t> UdatBuilder::Build() const {
  std::vector<std::vector<uint8_t>> parts;
  if (!m_options.Has(Fault::NoTime))
    parts.push_back(TimeBox());
  const bool misordered = m_options.Has(Fault::Misordered);
  if (!m_options.Has(Fault::NoGps) && !misordered)
    parts.push_back(GpsBox());
  if (!m_options.Has(Fault::NoSens))
    parts.push_back(SensorBox());
  if (!m_options.Has(Fault::NoGps) && misordered)
    parts.push_back(GpsBox());

  std::vector<uint8_t> udat = startBox("udat");
  for (const auto& part : parts)
    udat.insert(udat.end(), part.begin(), part.end());
  closeBox(udat);
  return udat;
}
