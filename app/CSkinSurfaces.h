// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFuture>
#include <QImage>
#include <array>

// The pictures the main window draws from and on: the clean background, the
// canvas (a second copy of the background that every change is drawn on and
// that painting copies to the screen), the decorations, the speed digits and
// the small marks. Images carry the display's pixel ratio; coordinates given
// to a painter on them are window pixels.
class CSkinSurfaces {
public:
  static constexpr int kDecorationCount = 4;
  static constexpr int kDigitCount = 10;
  static constexpr int kMarkCount = 3;

  // Starts drawing the pictures at the ratio on a worker thread, so that the
  // window's other set-up runs meanwhile; Load takes them.
  explicit CSkinSurfaces(qreal devicePixelRatio);
  // The pictures at the ratio; those started at the same ratio are waited for.
  void Load(qreal devicePixelRatio);

  const QImage& Background() const { return m_background; }
  QImage& Canvas() { return m_canvas; }
  const QImage& Canvas() const { return m_canvas; }
  // Decorations 1 to 4, digits 0 to 9, small marks 1 to 3 (zero-based here).
  const QImage& Decoration(int index) const { return m_decorations.at(index); }
  const QImage& Digit(int digit) const { return m_digits.at(digit); }
  const QImage& DigitDash() const { return m_digitDash; }
  const QImage& Mark(int index) const { return m_marks.at(index); }

  // The canvas pixels behind a window rectangle, for a painter's source.
  QRectF CanvasSource(const QRect& windowRect) const;

private:
  struct Pictures {
    QImage background;
    std::array<QImage, kDecorationCount> decorations;
    std::array<QImage, kDigitCount> digits;
    QImage digitDash;
    std::array<QImage, kMarkCount> marks;
  };
  static Pictures Draw(qreal devicePixelRatio);

  QFuture<Pictures> m_loading;
  qreal m_loadingRatio = 0;
  QImage m_background;
  QImage m_canvas;
  std::array<QImage, kDecorationCount> m_decorations;
  std::array<QImage, kDigitCount> m_digits;
  QImage m_digitDash;
  std::array<QImage, kMarkCount> m_marks;
};
