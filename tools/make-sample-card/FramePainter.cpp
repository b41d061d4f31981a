// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make-sample-card/FramePainter.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>

namespace {

constexpr uint32_t argb(int r, int g, int b) {
  return 0xFF000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
}

constexpr uint32_t kRoad = argb(70, 70, 76);
constexpr uint32_t kLane = argb(235, 235, 225);
constexpr uint32_t kBlack = argb(0, 0, 0);
constexpr uint32_t kText = argb(255, 220, 40);
constexpr uint32_t kSweep = argb(220, 60, 40);

// Segments a to g of each digit, as bits 0 to 6.
constexpr uint8_t kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

} // namespace

const std::array<FramePainter::Rgb, 8>& FramePainter::SolidColors() {
  static const std::array<Rgb, 8> colors{
      {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}, {0, 0, 0}, {255, 255, 0}, {0, 255, 255}, {255, 0, 255}}};
  return colors;
}

FramePainter::FramePainter(int width, int height)
    : m_width(width), m_height(height), m_background(size_t(width) * size_t(height)), m_pixels(m_background.size()) {
  const int horizon = height * 2 / 5;
  for (int y = 0; y < height; ++y) {
    const uint32_t color =
        y < horizon ? argb(90 + 100 * y / horizon, 150 + 70 * y / horizon, 235) : kRoad + uint32_t(y * 16 / height);
    std::fill_n(m_background.begin() + std::ptrdiff_t(y) * width, width, color);
  }
}

void FramePainter::FillRect(int left, int top, int width, int height, uint32_t color) {
  const int x0 = std::clamp(left, 0, m_width), x1 = std::clamp(left + width, 0, m_width);
  const int y0 = std::clamp(top, 0, m_height), y1 = std::clamp(top + height, 0, m_height);
  for (int y = y0; y < y1; ++y)
    std::fill(m_pixels.begin() + std::ptrdiff_t(y) * m_width + x0, m_pixels.begin() + std::ptrdiff_t(y) * m_width + x1,
              color);
}

void FramePainter::DrawDigit(int left, int top, int height, int digit, uint32_t color) {
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

int FramePainter::DrawText(int left, int top, int height, const char* text, uint32_t color) {
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
  return left;
}

void FramePainter::PaintScene(int frame, int fps, int secondOfDay) {
  m_pixels = m_background;
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
  std::fill(m_pixels.begin(), m_pixels.end(), argb(color.r, color.g, color.b));
}
