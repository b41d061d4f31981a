// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Paints the pictures of a sample recording straight into 8-bit YUV 4:2:0
// planes (BT.601, limited range), which spares the encoder a colour
// conversion: a moving road scene with the time of day and the frame number
// in seven-segment digits, or full-frame solid colours for exact checks.
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
  // Plane 0 is luma (stride = width), planes 1 and 2 are Cb and Cr
  // (stride = width / 2).
  const uint8_t* Plane(int index) const { return m_planes[std::size_t(index)].data(); }
  int Stride(int index) const { return index == 0 ? m_width : m_width / 2; }

private:
  struct Yuv {
    uint8_t y, cb, cr;
  };
  using Planes = std::array<std::vector<uint8_t>, 3>;

  static Yuv ToYuv(Rgb color);
  void FillRect(int left, int top, int width, int height, Rgb color);
  void DrawDigit(int left, int top, int height, int digit, Rgb color);
  // Digits and colons.
  void DrawText(int left, int top, int height, const char* text, Rgb color);

  int m_width;
  int m_height;
  Planes m_background;
  Planes m_planes;
};
