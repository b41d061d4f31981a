// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/CanvasPixels.h"

#include <algorithm>
#include <cmath>

CanvasPixels::CanvasPixels(QImage& canvas) : m_canvas(canvas), m_ratio(canvas.devicePixelRatio()) {}

int CanvasPixels::First(int logical) const { return int(std::floor(logical * m_ratio)); }

uint32_t CanvasPixels::Get(int x, int y) const {
  const int px = First(x);
  const int py = First(y);
  if (!m_canvas.valid(px, py))
    return 0;
  return ToColourRef(m_canvas.pixel(px, py));
}

void CanvasPixels::Set(int x, int y, uint32_t colour) {
  const QRgb rgb = ToRgb(colour);
  const int right = std::min(First(x + 1), m_canvas.width());
  const int bottom = std::min(First(y + 1), m_canvas.height());
  for (int py = std::max(First(y), 0); py < bottom; ++py)
    for (int px = std::max(First(x), 0); px < right; ++px)
      m_canvas.setPixel(px, py, rgb);
}

uint32_t CanvasPixels::ToColourRef(QRgb rgb) {
  return uint32_t(qRed(rgb)) | uint32_t(qGreen(rgb)) << 8 | uint32_t(qBlue(rgb)) << 16;
}

QRgb CanvasPixels::ToRgb(uint32_t colour) { return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }
