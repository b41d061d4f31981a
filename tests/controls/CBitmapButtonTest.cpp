// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/CBitmapButton.h"
#include "controls/SkinLibrary.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

// The button's own painting on a transparent ground, without any window
// background, so that it can be compared with its picture.
class BitmapButtonTest : public testing::Test {
protected:
  QImage painted() {
    const qreal ratio = button->devicePixelRatioF();
    QImage image(button->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    button->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
  }
  QImage skin(int id) { return SkinLibrary::image(id, button->devicePixelRatioF()); }

  QWidget window;
  CBitmapButton* button = new CBitmapButton(&window);
};

TEST_F(BitmapButtonTest, SizesToItsPictureAndShowsPressedOnlyWhileDown) {
  ASSERT_TRUE(button->LoadBitmaps(SkinLibrary::kPlayNormal, SkinLibrary::kPlayPressed, SkinLibrary::kPlayNormal,
                                  SkinLibrary::kPlayNormal));
  button->SizeToContent();
  EXPECT_EQ(button->size(), QSize(52, 23));
  EXPECT_EQ(painted(), skin(SkinLibrary::kPlayNormal));
  button->setDown(true);
  EXPECT_EQ(painted(), skin(SkinLibrary::kPlayPressed));
  button->setDown(false);
  EXPECT_EQ(painted(), skin(SkinLibrary::kPlayNormal));
}

TEST_F(BitmapButtonTest, PaintsAtTheScreensPixelDensity) {
  // The suite also runs at 200 %; there the picture must be drawn for it, not
  // scaled up from the small one.
  const qreal expectedRatio = qEnvironmentVariableIsSet("LUMENARK_EXPECT_RATIO")
                                  ? qEnvironmentVariable("LUMENARK_EXPECT_RATIO").toDouble()
                                  : 1.0;
  button->LoadBitmaps(SkinLibrary::kInfoNormal, SkinLibrary::kInfoPressed);
  button->SizeToContent();
  EXPECT_EQ(button->devicePixelRatioF(), expectedRatio);
  EXPECT_EQ(button->grab().size(), QSize(20, 20) * expectedRatio);
  EXPECT_EQ(painted(), skin(SkinLibrary::kInfoNormal));
}

TEST_F(BitmapButtonTest, DisabledWithoutItsOwnPictureLooksNormal) {
  button->LoadBitmaps(SkinLibrary::kExitNormal, SkinLibrary::kExitPressed);
  button->SizeToContent();
  button->setEnabled(false);
  EXPECT_EQ(painted(), skin(SkinLibrary::kExitNormal));
}

TEST_F(BitmapButtonTest, NumberOutsideTheSkinIsRefusedAndPaintsNothing) {
  EXPECT_FALSE(button->LoadBitmaps(173)); // the information dialog, not a picture
  button->resize(20, 20);
  EXPECT_EQ(painted().pixelColor(10, 10).alpha(), 0);
}

} // namespace
