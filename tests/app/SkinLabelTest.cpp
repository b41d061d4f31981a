// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CSkinLabel.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

const QColor kCanvas(200, 10, 10);

// Renders the label over a plain red "canvas", as its parent window would.
QImage renderOver(CSkinLabel& label) {
  QImage image(label.size(), QImage::Format_RGB32);
  image.fill(kCanvas);
  label.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
  return image;
}

bool contains(const QImage& image, const QColor& colour) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == colour)
        return true;
  return false;
}

} // namespace

// The time labels must let the canvas show around their grey text cells.
TEST(CSkinLabel, TextCellsGetTheirBackgroundAndTheRestStaysTransparent) {
  CSkinLabel label;
  label.resize(54, 14);
  label.setText(QStringLiteral("02:05"));
  label.SetColours(Qt::white, QColor(65, 65, 65));
  const QImage image = renderOver(label);
  EXPECT_EQ(image.pixelColor(53, 0), kCanvas);
  EXPECT_EQ(image.pixelColor(53, 13), kCanvas);
  EXPECT_TRUE(contains(image, QColor(65, 65, 65)));
  EXPECT_TRUE(contains(image, Qt::white));
}

// The folder text fills its whole control black.
TEST(CSkinLabel, FillColourCoversTheWholeControl) {
  CSkinLabel label;
  label.resize(232, 16);
  label.setText(QStringLiteral("/media/card"));
  label.SetColours(Qt::white, Qt::black, Qt::black);
  const QImage image = renderOver(label);
  EXPECT_EQ(image.pixelColor(231, 0), QColor(Qt::black));
  EXPECT_FALSE(contains(image, kCanvas));
}
