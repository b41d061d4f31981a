// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindowFixture.h"

#include <QPainter>

using PaintingTest = MainWindowFixture;

namespace {

// The window's picture of one rectangle, as a repaint of just that region
// (an uncovered part) produces it.
QImage repaint(QWidget& window, const QRect& rect) {
  QImage image(rect.size(), QImage::Format_RGB32);
  image.fill(Qt::magenta);
  window.render(&image, QPoint(), QRegion(rect), QWidget::DrawWindowBackground);
  return image;
}

QImage canvasPart(const CQIRA02Dlg& window, const QRect& rect) {
  const CSkinSurfaces& skin = window.Skin();
  return skin.Canvas().copy(skin.CanvasSource(rect).toRect()).scaled(rect.size());
}

} // namespace

// Uncovering a part must restore what was drawn there, not the clean skin.
TEST_F(PaintingTest, UncoveredRegionShowsTheCanvasIncludingEarlierDrawing) {
  const QRect drawn(100, 680, 120, 40);
  {
    QPainter painter(&Window().Canvas());
    painter.fillRect(drawn, QColor(255, 0, 110));
  }
  Window().InvalidateRect(drawn);
  const QRect uncovered(80, 670, 200, 60);
  const QImage shown = repaint(Window(), uncovered);
  EXPECT_EQ(shown, canvasPart(Window(), uncovered));
  EXPECT_EQ(shown.pixelColor(drawn.center() - uncovered.topLeft()), QColor(255, 0, 110));
  EXPECT_NE(Window().Skin().Background(), Window().Canvas()) << "the clean background must stay clean";
}

TEST_F(PaintingTest, BackgroundIsTheSkinNotTheDialogColour) {
  const QRect videoArea(20, 110, 640, 480);
  EXPECT_EQ(repaint(Window(), videoArea), canvasPart(Window(), videoArea));
}

// A press on the background drags the window; on a button it does not.
TEST_F(PaintingTest, DraggingByTheBackgroundMovesTheWindow) {
  const QPoint start = Window().pos();
  QTest::mousePress(&Window(), Qt::LeftButton, {}, QPoint(500, 12));
  QMouseEvent move(QEvent::MouseMove, QPointF(540, 42), Window().mapToGlobal(QPointF(540, 42)), Qt::NoButton,
                   Qt::LeftButton, {});
  QApplication::sendEvent(&Window(), &move);
  QTest::mouseRelease(&Window(), Qt::LeftButton, {}, QPoint(540, 42));
  EXPECT_EQ(Window().pos(), start + QPoint(40, 30));

  const QPoint afterDrag = Window().pos();
  QTest::mousePress(Item(IDC_STOP), Qt::LeftButton, {}, QPoint(5, 5));
  QMouseEvent moveOnButton(QEvent::MouseMove, QPointF(45, 35), Item(IDC_STOP)->mapToGlobal(QPointF(45, 35)),
                           Qt::NoButton, Qt::LeftButton, {});
  QApplication::sendEvent(Item(IDC_STOP), &moveOnButton);
  QTest::mouseRelease(Item(IDC_STOP), Qt::LeftButton, {}, QPoint(45, 35));
  EXPECT_EQ(Window().pos(), afterDrag);
}
