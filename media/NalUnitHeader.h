// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

enum class VideoCodec { kH264, kH265 };

// What the first bytes of one NAL unit (its header and the start of a slice
// header) tell about where pictures begin. The checks are strict on purpose:
// bytes of another stream must not pass for a picture.
class NalUnitHeader {
public:
  // Enough for the header and the slice-header fields read here.
  static constexpr size_t kBytesRead = 8;

  // `macroblocks` bounds an H.264 slice's first macroblock; 0: no bound.
  static NalUnitHeader Parse(VideoCodec codec, const uint8_t* bytes, size_t count, uint32_t macroblocks);

  bool Valid() const { return m_valid; }
  bool IsPictureData() const { return m_vcl; }
  // An IDR (H.264) or intra random-access (H.265) picture: seeking may start here.
  bool IsKey() const { return m_key; }
  // The first slice of a picture.
  bool BeginsPicture() const { return m_firstSlice; }
  // Delimiter, parameter sets or a prefix SEI: after picture data they start
  // the next access unit.
  bool OpensAccessUnit() const { return m_opensAccessUnit; }

private:
  static NalUnitHeader OfH264(const uint8_t* bytes, size_t count, uint32_t macroblocks);
  static NalUnitHeader OfH265(const uint8_t* bytes, size_t count);

  bool m_valid = false;
  bool m_vcl = false;
  bool m_key = false;
  bool m_firstSlice = false;
  bool m_opensAccessUnit = false;
};
