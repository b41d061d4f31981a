// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/NalUnitHeader.h"

#include <optional>

namespace {

// Reads unsigned Exp-Golomb numbers from the few bytes at hand; empty when
// they run out. Emulation-prevention bytes cannot occur this early for the
// small values accepted.
class GolombReader {
public:
  GolombReader(const uint8_t* bytes, size_t count, size_t bitOffset)
      : m_bytes(bytes), m_bits(count * 8), m_bit(bitOffset) {}

  std::optional<uint32_t> Bit() {
    if (m_bit >= m_bits)
      return std::nullopt;
    const uint32_t bit = (m_bytes[m_bit / 8] >> (7 - m_bit % 8)) & 1u;
    ++m_bit;
    return bit;
  }

  std::optional<uint32_t> Unsigned() {
    int zeros = 0;
    for (;;) {
      const auto bit = Bit();
      if (!bit || zeros > 31)
        return std::nullopt;
      if (*bit)
        break;
      ++zeros;
    }
    uint64_t value = 1;
    for (int i = 0; i < zeros; ++i) {
      const auto bit = Bit();
      if (!bit)
        return std::nullopt;
      value = value << 1 | *bit;
    }
    return uint32_t(value - 1);
  }

private:
  const uint8_t* m_bytes;
  size_t m_bits;
  size_t m_bit;
};

constexpr uint32_t kH264Slice = 1;
constexpr uint32_t kH264Idr = 5;
constexpr uint32_t kH264MaxSliceType = 9;
constexpr uint32_t kH264MaxPps = 255;
constexpr uint32_t kH265MaxPps = 63;

} // namespace

NalUnitHeader NalUnitHeader::Parse(VideoCodec codec, const uint8_t* bytes, size_t count, uint32_t macroblocks) {
  return codec == VideoCodec::kH264 ? OfH264(bytes, count, macroblocks) : OfH265(bytes, count);
}

NalUnitHeader NalUnitHeader::OfH264(const uint8_t* bytes, size_t count, uint32_t macroblocks) {
  NalUnitHeader nal;
  if (count < 1 || (bytes[0] & 0x80))
    return nal;
  const uint32_t type = bytes[0] & 0x1f;
  const bool reference = (bytes[0] & 0x60) != 0;
  switch (type) {
  case kH264Slice:
  case kH264Idr: {
    if (type == kH264Idr && !reference)
      return nal;
    GolombReader slice(bytes + 1, count - 1, 0);
    const auto firstMacroblock = slice.Unsigned();
    const auto sliceType = slice.Unsigned();
    const auto pps = slice.Unsigned();
    if (!firstMacroblock || !sliceType || !pps || *sliceType > kH264MaxSliceType || *pps > kH264MaxPps ||
        (macroblocks && *firstMacroblock >= macroblocks))
      return nal;
    nal.m_vcl = true;
    nal.m_key = type == kH264Idr;
    nal.m_firstSlice = *firstMacroblock == 0;
    break;
  }
  case 6: // SEI
  case 9: // access unit delimiter
    if (reference)
      return nal;
    nal.m_opensAccessUnit = true;
    break;
  case 7: // sequence parameter set
  case 8: // picture parameter set
    nal.m_opensAccessUnit = true;
    break;
  case 10: // end of sequence
  case 11: // end of stream
  case 12: // filler
    if (reference)
      return nal;
    break;
  default:
    return nal;
  }
  nal.m_valid = true;
  return nal;
}

NalUnitHeader NalUnitHeader::OfH265(const uint8_t* bytes, size_t count) {
  NalUnitHeader nal;
  if (count < 2 || (bytes[0] & 0x80))
    return nal;
  const uint32_t type = (bytes[0] >> 1) & 0x3f;
  const uint32_t layer = (bytes[0] & 1u) << 5 | bytes[1] >> 3;
  const uint32_t temporalIdPlus1 = bytes[1] & 7u;
  if (layer != 0 || temporalIdPlus1 == 0)
    return nal;
  const bool randomAccess = type >= 16 && type <= 21;
  if (type <= 9 || randomAccess) {
    if (randomAccess && temporalIdPlus1 != 1)
      return nal;
    GolombReader slice(bytes + 2, count - 2, 0);
    const auto first = slice.Bit();
    if (!first || (randomAccess && !slice.Bit()))
      return nal;
    const auto pps = slice.Unsigned();
    if (!pps || *pps > kH265MaxPps)
      return nal;
    nal.m_vcl = true;
    nal.m_key = randomAccess;
    nal.m_firstSlice = *first == 1;
  } else if (type >= 32 && type <= 35) { // parameter sets, delimiter
    nal.m_opensAccessUnit = true;
  } else if (type == 39) { // prefix SEI
    nal.m_opensAccessUnit = true;
  } else if (type < 36 || type > 40) { // end of sequence/stream, filler, suffix SEI stay
    return nal;
  }
  nal.m_valid = true;
  return nal;
}
