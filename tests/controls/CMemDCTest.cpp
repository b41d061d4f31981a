// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/CMemDC.h"

#include <QImage>
#include <QLinearGradient>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Opaque shapes, anti-aliased edges, text and a translucent overlay: enough
// that any misplaced or rescaled copy changes pixels.
void drawScene(QPainter& painter) {
  QLinearGradient gradient(0, 0, 160, 0);
  gradient.setColorAt(0, QColor(20, 30, 60));
  gradient.setColorAt(1, QColor(200, 120, 30));
  painter.fillRect(QRect(5, 5, 150, 90), gradient);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(60, 220, 255), 2));
  painter.drawEllipse(QPointF(80, 50), 30, 25);
  painter.drawLine(QPointF(10, 90), QPointF(150, 12));
  painter.drawText(QPoint(20, 30), QStringLiteral("00:42"));
  painter.fillRect(QRect(40, 40, 60, 30), QColor(255, 255, 255, 90));
}

QImage blankTarget(qreal ratio = 1.0) {
  QImage image(QSize(160, 100) * ratio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(QColor(9, 9, 9));
  return image;
}

QImage drawnDirectly(const QRect& clip, qreal ratio = 1.0) {
  QImage image = blankTarget(ratio);
  QPainter painter(&image);
  painter.setClipRect(clip);
  drawScene(painter);
  return image;
}

QImage drawnThroughSurface(const QRect& clip, qreal ratio = 1.0) {
  QImage image = blankTarget(ratio);
  QPainter painter(&image);
  painter.setClipRect(clip);
  {
    CMemDC surface(painter);
    EXPECT_TRUE(surface.isBuffering());
    EXPECT_EQ(surface.rect(), clip);
    drawScene(surface.painter());
  }
  return image;
}

TEST(CMemDC, FullRepaintMatchesDrawingDirectly) {
  const QRect all(0, 0, 160, 100);
  EXPECT_EQ(drawnThroughSurface(all), drawnDirectly(all));
}

TEST(CMemDC, PartialRepaintAwayFromTheOriginLandsInPlace) {
  // The buffer's first pixel stands for the clip box's corner, not (0, 0).
  const QRect strip(37, 23, 50, 31);
  EXPECT_EQ(drawnThroughSurface(strip), drawnDirectly(strip));
}

TEST(CMemDC, ScaledTargetIsBufferedAtItsOwnPixelDensity) {
  // A buffer at ratio 1 would be stretched and blur a 200 % display.
  const QRect strip(11, 7, 90, 60);
  EXPECT_EQ(drawnThroughSurface(strip, 2.0), drawnDirectly(strip, 2.0));
}

TEST(CMemDC, TargetIsUntouchedUntilTheSurfaceEnds) {
  QImage image = blankTarget();
  const QImage before = image;
  QPainter painter(&image);
  {
    CMemDC surface(painter, QRect(0, 0, 160, 100));
    drawScene(surface.painter());
    EXPECT_EQ(image, before) << "no intermediate state may reach the target";
  }
  painter.end();
  EXPECT_NE(image, before);
}

TEST(CMemDC, EmptyClipBoxDrawsNothingAndDoesNotFail) {
  QImage image = blankTarget();
  const QImage before = image;
  {
    QPainter painter(&image);
    CMemDC surface(painter, QRect());
    drawScene(surface.painter());
  }
  EXPECT_EQ(image, before);
}

TEST(CMemDC, PrinterIsDrawnOnDirectly) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QPdfWriter writer(dir.filePath(QStringLiteral("page.pdf")));
  QPainter painter(&writer);
  CMemDC surface(painter);
  EXPECT_FALSE(surface.isBuffering());
  EXPECT_EQ(&surface.painter(), &painter);
}

} // namespace
