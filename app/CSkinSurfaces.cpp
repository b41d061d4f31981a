// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CSkinSurfaces.h"

#include "app/MainWindowLayout.h"
#include "controls/SkinLibrary.h"

namespace {

// Drawn on with ordinary painters: a plain 32-bit format.
QImage surface(int id, qreal devicePixelRatio) {
  return SkinLibrary::image(id, devicePixelRatio).convertToFormat(QImage::Format_RGB32);
}

} // namespace

void CSkinSurfaces::Load(qreal devicePixelRatio) {
  m_background = surface(layout::kBackgroundBitmap, devicePixelRatio);
  m_canvas = m_background.copy();
  for (int i = 0; i < kDecorationCount; ++i)
    m_decorations[i] = surface(layout::kDecorationBitmaps[i], devicePixelRatio);
  for (int digit = 0; digit < kDigitCount; ++digit)
    m_digits[digit] = surface(layout::kFirstDigitBitmap + digit, devicePixelRatio);
  m_digitDash = surface(SkinLibrary::kDigitDash, devicePixelRatio);
  for (int i = 0; i < kMarkCount; ++i)
    m_marks[i] = surface(layout::kMarkBitmaps[i], devicePixelRatio);
}

QRectF CSkinSurfaces::CanvasSource(const QRect& windowRect) const {
  const qreal ratio = m_canvas.devicePixelRatio();
  return QRectF(QPointF(windowRect.topLeft()) * ratio, QSizeF(windowRect.size()) * ratio);
}
