// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// Builds small files of ISO-style boxes for user-data tests.
class BoxWriter {
public:
  // A box with a 32-bit size (the true size unless `declaredSize` is given).
  BoxWriter& box(const char* type, const std::vector<uint8_t>& payload, int64_t declaredSize = -1);
  // A box with size 1 and a 64-bit size after the type.
  BoxWriter& largeBox(const char* type, const std::vector<uint8_t>& payload);
  BoxWriter& raw(const std::vector<uint8_t>& bytes);

  const std::vector<uint8_t>& bytes() const { return m_bytes; }
  void writeTo(const std::string& path) const;

  // A complete "udat" box with `records` GPS records (the given sentences,
  // then zero records) and sensor triples (i, -i, 0.5).
  static std::vector<uint8_t> udat(uint32_t records, const std::vector<std::string>& sentences);

private:
  std::vector<uint8_t> m_bytes;
};

std::vector<uint8_t> bigEndian32(uint32_t value);

} // namespace testing_support
