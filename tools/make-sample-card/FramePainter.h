// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <vector>

// Paints the pictures of a sample recording into a 32-bit BGRA buffer: a
// moving road scene with the time of day and the frame number drawn in
// seven-segment digits, or full-frame solid colours for exact checks.
class FramePainter {
public:
  struct Rgb {
    uint8_t r, g, b;
  };
  // The solid colours in their order; frame f shows colour (f / period) % 8.
  static const std::array<Rgb, 8>& SolidColors();

  FramePainter(int width, int height);

  void PaintScene(int frame, int fps, int secondOfDay);
  void PaintSolid(int colorIndex);
  const uint8_t* Pixels() const { return reinterpret_cast<const uint8_t*>(m_pixels.data()); }
  int Stride() const { return m_width * 4; }

private:
  void FillRect(int left, int top, int width, int height, uint32_t color);
  void DrawDigit(int left, int top, int height, int digit, uint32_t color);
  // Digits and colons; returns the x after the text.
  int DrawText(int left, int top, int height, const char* text, uint32_t color);

  int m_width;
  int m_height;
  std::vector<uint32_t> m_background;
  std::vector<uint32_t> m_pixels;
};
