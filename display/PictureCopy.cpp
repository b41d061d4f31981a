// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/PictureCopy.h"

#include <QPainter>

namespace {

QSize logicalSize(const QImage& image) { return (QSizeF(image.size()) / image.devicePixelRatio()).toSize(); }

void copy(QImage& canvas, const QRect& target, const QImage& source, const QRect& sourceRect) {
  if (target.isEmpty())
    return;
  const qreal ratio = source.devicePixelRatio();
  const QRectF sourcePixels(QPointF(sourceRect.topLeft()) * ratio, QSizeF(sourceRect.size()) * ratio);
  QPainter painter(&canvas);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(QRectF(target), source, sourcePixels);
}

} // namespace

void CopyPicture(QImage& canvas, const QPoint& at, const QImage& picture, const QSize& size) {
  const QSize available = size.boundedTo(logicalSize(picture));
  copy(canvas, QRect(at, available), picture, QRect(QPoint(0, 0), available));
}

void CopyArea(QImage& canvas, const QImage& source, const QRect& rect) { copy(canvas, rect, source, rect); }
