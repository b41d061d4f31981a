// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make-sample-card/FramePainter.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace {

using Rgb = FramePainter::Rgb;

constexpr Rgb kRoad{70, 70, 76};
constexpr Rgb kLane{235, 235, 225};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kText{255, 220, 40};
constexpr Rgb kSweep{220, 60, 40};

// Segments a to g of each digit, as bits 0 to 6.
constexpr uint8_t kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

uint8_t toByte(double value) { return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L)); }

Rgb rowColor(int y, int height) {
  const int horizon = height * 2 / 5;
  if (y < horizon)
    return Rgb{uint8_t(90 + 100 * y / horizon), uint8_t(150 + 70 * y / horizon), 235};
  const auto shade = uint8_t(y * 16 / height);
  return Rgb{uint8_t(kRoad.r + shade), uint8_t(kRoad.g + shade), uint8_t(kRoad.b + shade)};
}

} // namespace

const std::array<FramePainter::Rgb, 8>& FramePainter::SolidColors() {
  static const std::array<Rgb, 8> colors{
      {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}, {0, 0, 0}, {255, 255, 0}, {0, 255, 255}, {255, 0, 255}}};
  return colors;
}

FramePainter::Yuv FramePainter::ToYuv(Rgb color) {
  const double r = color.r, g = color.g, b = color.b;
  return Yuv{toByte(16.0 + (65.481 * r + 128.553 * g + 24.966 * b) / 255.0),
             toByte(128.0 + (-37.797 * r - 74.203 * g + 112.0 * b) / 255.0),
             toByte(128.0 + (112.0 * r - 93.786 * g - 18.214 * b) / 255.0)};
}

FramePainter::FramePainter(int width, int height) : m_width(width), m_height(height) {
  m_planes[0].resize(size_t(width) * size_t(height));
  m_planes[1].resize(size_t(width / 2) * size_t(height / 2));
  m_planes[2].resize(m_planes[1].size());
  // Two rows at a time, as the chroma planes have half the rows.
  for (int y = 0; y < height; y += 2)
    FillRect(0, y, width, 2, rowColor(y, height));
  m_background = m_planes;
}

void FramePainter::FillRect(int left, int top, int width, int height, Rgb color) {
  const int x0 = std::clamp(left, 0, m_width), x1 = std::clamp(left + width, 0, m_width);
  const int y0 = std::clamp(top, 0, m_height), y1 = std::clamp(top + height, 0, m_height);
  if (x0 >= x1 || y0 >= y1)
    return;
  const Yuv yuv = ToYuv(color);
  for (int y = y0; y < y1; ++y)
    std::memset(m_planes[0].data() + size_t(y) * size_t(m_width) + size_t(x0), yuv.y, size_t(x1 - x0));
  const int chromaWidth = m_width / 2;
  const int cx0 = x0 / 2, cx1 = std::min((x1 + 1) / 2, chromaWidth);
  const int cy0 = y0 / 2, cy1 = std::min((y1 + 1) / 2, m_height / 2);
  for (int y = cy0; y < cy1; ++y) {
    const size_t row = size_t(y) * size_t(chromaWidth) + size_t(cx0);
    std::memset(m_planes[1].data() + row, yuv.cb, size_t(std::max(cx1 - cx0, 0)));
    std::memset(m_planes[2].data() + row, yuv.cr, size_t(std::max(cx1 - cx0, 0)));
  }
}

void FramePainter::DrawDigit(int left, int top, int height, int digit, Rgb color) {
  const int w = height / 2, t = std::max(height / 9, 1), half = height / 2;
  const uint8_t on = kSegments[digit];
  const int rects[7][4] = {{left, top, w, t},
                           {left + w - t, top, t, half},
                           {left + w - t, top + half, t, height - half},
                           {left, top + height - t, w, t},
                           {left, top + half, t, height - half},
                           {left, top, t, half},
                           {left, top + half - t / 2, w, t}};
  for (int segment = 0; segment < 7; ++segment)
    if (on & (1 << segment))
      FillRect(rects[segment][0], rects[segment][1], rects[segment][2], rects[segment][3], color);
}

void FramePainter::DrawText(int left, int top, int height, const char* text, Rgb color) {
  const int advance = height / 2 + height / 5, dot = std::max(height / 8, 1);
  for (; *text; ++text) {
    if (*text >= '0' && *text <= '9') {
      DrawDigit(left, top, height, *text - '0', color);
      left += advance;
    } else {
      FillRect(left, top + height / 3 - dot / 2, dot, dot, color);
      FillRect(left, top + 2 * height / 3 - dot / 2, dot, dot, color);
      left += dot * 3;
    }
  }
}

void FramePainter::PaintScene(int frame, int fps, int secondOfDay) {
  for (size_t plane = 0; plane < m_planes.size(); ++plane)
    std::memcpy(m_planes[plane].data(), m_background[plane].data(), m_planes[plane].size());
  const int horizon = m_height * 2 / 5;
  const int dash = std::max(m_width / 8, 8);
  const int shift = (frame * dash / 6) % (2 * dash);
  for (int x = -2 * dash + shift; x < m_width; x += 2 * dash)
    FillRect(x, m_height * 3 / 4, dash, std::max(m_height / 40, 2), kLane);
  // A bar crossing the sky once a second.
  const int sweepX = (frame % fps) * m_width / fps;
  FillRect(sweepX, horizon / 4, std::max(m_width / 40, 2), horizon / 2, kSweep);

  char clock[16];
  std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60);
  const int digitHeight = std::max(m_height / 8, 9);
  const int margin = digitHeight / 3;
  FillRect(0, 0, digitHeight * 6, digitHeight + 2 * margin, kBlack);
  DrawText(margin, margin, digitHeight, clock, kText);

  char counter[16];
  std::snprintf(counter, sizeof counter, "%06d", frame);
  const int small = std::max(digitHeight / 2, 7);
  DrawText(m_width - small * 5, m_height - small * 3 / 2, small, counter, kLane);
}

void FramePainter::PaintSolid(int colorIndex) {
  const Rgb& color = SolidColors()[size_t(colorIndex) % SolidColors().size()];
  FillRect(0, 0, m_width, m_height, color);
}
