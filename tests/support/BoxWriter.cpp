// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/BoxWriter.h"

#include <cstring>
#include <fstream>
#include <stdexcept>

namespace testing_support {

std::vector<uint8_t> bigEndian32(uint32_t value) {
  return {uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)};
}

BoxWriter& BoxWriter::box(const char* type, const std::vector<uint8_t>& payload, int64_t declaredSize) {
  const uint32_t size = declaredSize >= 0 ? uint32_t(declaredSize) : uint32_t(payload.size() + 8);
  raw(bigEndian32(size));
  m_bytes.insert(m_bytes.end(), type, type + 4);
  return raw(payload);
}

BoxWriter& BoxWriter::largeBox(const char* type, const std::vector<uint8_t>& payload) {
  raw(bigEndian32(1));
  m_bytes.insert(m_bytes.end(), type, type + 4);
  const uint64_t size = payload.size() + 16;
  raw(bigEndian32(uint32_t(size >> 32)));
  raw(bigEndian32(uint32_t(size)));
  return raw(payload);
}

BoxWriter& BoxWriter::raw(const std::vector<uint8_t>& bytes) {
  m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
  return *this;
}

void BoxWriter::writeTo(const std::string& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(m_bytes.data()), std::streamsize(m_bytes.size()));
  if (!out)
    throw std::runtime_error("cannot write " + path);
}

std::vector<uint8_t> BoxWriter::udat(uint32_t records, const std::vector<std::string>& sentences) {
  std::vector<uint8_t> time(records * 4, 0);
  std::vector<uint8_t> gps(records * 76, 0);
  for (size_t i = 0; i < sentences.size() && i < records; ++i)
    std::memcpy(gps.data() + i * 76, sentences[i].c_str(), std::min<size_t>(sentences[i].size() + 1, 76));
  std::vector<uint8_t> sensor(records * 12);
  for (uint32_t i = 0; i < records; ++i) {
    const float triple[3] = {float(i), -float(i), 0.5f};
    std::memcpy(sensor.data() + i * 12, triple, 12); // little-endian host
  }
  BoxWriter inner;
  inner.box("TIME", time).box("GPSI", gps).box("SENS", sensor);
  BoxWriter whole;
  whole.box("udat", inner.bytes());
  return whole.bytes();
}

} // namespace testing_support
