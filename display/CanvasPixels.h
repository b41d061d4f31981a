// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <cstdint>

// Single window pixels of a 32-bit canvas that may carry a display pixel
// ratio: one window pixel covers a block of the image's pixels. Colours are
// colour references, 0x00BBGGRR. Pixels outside the canvas read as black and
// are not written.
class CanvasPixels {
public:
  explicit CanvasPixels(QImage& canvas);

  uint32_t Get(int x, int y) const;
  void Set(int x, int y, uint32_t colour);

  static uint32_t ToColourRef(QRgb rgb);
  static QRgb ToRgb(uint32_t colour);

private:
  // The image pixels [first, last) that window pixel `logical` covers.
  int First(int logical) const;

  QImage& m_canvas;
  qreal m_ratio;
};
