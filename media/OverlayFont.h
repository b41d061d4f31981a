// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

// A small bitmap font for the text burned into a clip's picture: digits and
// the few letters and signs that dates, speeds and positions need, 5 x 7
// pixels each. Its own, so that the media code needs no font library.
class OverlayFont {
public:
  static constexpr int kWidth = 5;
  static constexpr int kHeight = 7;
  // Pixels from one character's left edge to the next one's.
  static constexpr int kAdvance = kWidth + 1;

  // One row a byte, the leftmost pixel in bit 4; nothing set for a
  // character the font does not have (and for the space).
  static std::array<uint8_t, kHeight> Glyph(char character);
  // The characters the font draws, space included.
  static const char* Characters();
};
