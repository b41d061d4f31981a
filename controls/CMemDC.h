// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPainter>
#include <QPixmap>
#include <QRect>

// Scoped double buffer for a paint: everything is drawn into an off-screen
// pixmap covering the target's clip box, in the target's coordinates, and the
// result reaches the target in one copy when the object goes out of scope.
// On a printer or PDF writer nothing is buffered: painter() is the target.
// Destroy it before the target painter ends.
class CMemDC {
public:
  // Buffers the target painter's clip box (the whole device when unclipped).
  explicit CMemDC(QPainter& target);
  // Buffers the given rectangle of the target, e.g. a paint event's rect().
  CMemDC(QPainter& target, const QRect& clipBox);
  ~CMemDC();

  CMemDC(const CMemDC&) = delete;
  CMemDC& operator=(const CMemDC&) = delete;

  // The painter to draw with, in the target's logical coordinates.
  QPainter& painter();

  // True when drawing goes to an off-screen buffer.
  bool isBuffering() const { return m_bMemDC; }

  // The buffered rectangle in the target's logical coordinates.
  QRect rect() const { return m_rect; }

private:
  void beginBuffer();

  QPixmap m_bitmap;
  QPainter m_memPainter;
  QPainter* m_pDC;
  QRect m_rect;
  bool m_bMemDC;
};
