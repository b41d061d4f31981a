// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/CMemDC.h"

#include <QPaintDevice>
#include <QPaintEngine>

namespace {

// Paged devices keep vector output: buffering would turn it into a bitmap.
bool isPagedDevice(QPainter& painter) {
  if (painter.device() && painter.device()->devType() == QInternal::Printer)
    return true;
  return painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Pdf;
}

QRect clipBoxOf(QPainter& painter) {
  if (painter.hasClipping())
    return painter.clipBoundingRect().toAlignedRect();
  const QPaintDevice* device = painter.device();
  return device ? QRect(0, 0, device->width(), device->height()) : QRect();
}

} // namespace

CMemDC::CMemDC(QPainter& target) : CMemDC(target, clipBoxOf(target)) {}

CMemDC::CMemDC(QPainter& target, const QRect& clipBox)
    : m_pDC(&target), m_rect(clipBox), m_bMemDC(!isPagedDevice(target)) {
  if (m_bMemDC)
    beginBuffer();
}

CMemDC::~CMemDC() {
  if (!m_bMemDC)
    return;
  m_memPainter.end();
  // The buffer starts transparent, so pixels the drawing left alone keep the
  // target's picture, exactly as if the drawing had gone to the target.
  if (!m_rect.isEmpty())
    m_pDC->drawPixmap(m_rect.topLeft(), m_bitmap);
}

QPainter& CMemDC::painter() { return m_bMemDC ? m_memPainter : *m_pDC; }

void CMemDC::beginBuffer() {
  const QPaintDevice* device = m_pDC->device();
  const qreal ratio = device ? device->devicePixelRatioF() : 1.0;
  // An empty clip box still gets a painter that accepts drawing.
  const QSize logicalSize = m_rect.size().expandedTo(QSize(1, 1));
  m_bitmap = QPixmap(logicalSize * ratio);
  m_bitmap.setDevicePixelRatio(ratio);
  m_bitmap.fill(Qt::transparent);
  m_memPainter.begin(&m_bitmap);
  m_memPainter.translate(-m_rect.topLeft());
  m_memPainter.setFont(m_pDC->font());
  m_memPainter.setRenderHints(m_pDC->renderHints());
}
