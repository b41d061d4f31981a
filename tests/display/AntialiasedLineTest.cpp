// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/AntialiasedLine.h"
#include "display/CanvasPixels.h"
#include "display/Compass.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

QImage plain(QRgb colour, qreal ratio = 1.0) {
  QImage image(QSize(40, 40) * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(colour);
  return image;
}

uint32_t grey(int level) { return uint32_t(level) * 0x010101u; }

struct Expected {
  int x, y;
  uint32_t colour;
};

void expectPixels(const CanvasPixels& pixels, std::initializer_list<Expected> expected) {
  for (const Expected& e : expected)
    EXPECT_EQ(pixels.Get(e.x, e.y), e.colour) << "at " << e.x << ", " << e.y;
}

} // namespace

// Worked by hand: adjust 32768, so the minor axis steps every second pixel
// and the weights run 128, 0, 128 with their complements below.
TEST(AntialiasedLine, XMajorBlackOnWhiteShadesThePairs) {
  QImage image = plain(qRgb(255, 255, 255));
  CanvasPixels pixels(image);
  DrawAntialiasedLine(pixels, 4, 2, 0, 0, kBlack, kBackgroundFromCanvas); // drawn downward after the swap
  expectPixels(pixels, {{0, 0, kBlack},
                        {1, 0, grey(128)},
                        {1, 1, grey(127)},
                        {2, 1, kBlack},
                        {2, 2, kWhite},
                        {3, 1, grey(128)},
                        {3, 2, grey(127)},
                        {4, 2, kBlack},
                        {5, 2, kWhite}});
}

// Adjust 21845: weights 85 and 170; a line lighter than its background takes
// the complement, so the shading still follows the coverage.
TEST(AntialiasedLine, YMajorWeightsFollowTheLuminanceRule) {
  QImage dark = plain(qRgb(0, 0, 0));
  CanvasPixels onBlack(dark);
  DrawAntialiasedLine(onBlack, 0, 0, 1, 3, kWhite, kBackgroundFromCanvas);
  expectPixels(
      onBlack,
      {{0, 0, kWhite}, {0, 1, grey(170)}, {1, 1, grey(85)}, {0, 2, grey(85)}, {1, 2, grey(170)}, {1, 3, kWhite}});

  QImage light = plain(qRgb(255, 255, 255));
  CanvasPixels onWhite(light);
  DrawAntialiasedLine(onWhite, 0, 0, 1, 3, kBlack, grey(0x40));
  // A given background replaces the canvas's: 85 of 255 toward grey 64.
  expectPixels(onWhite, {{0, 1, grey(21)}, {1, 1, grey(42)}});
}

TEST(AntialiasedLine, StraightLinesAreSolid) {
  QImage image = plain(qRgb(255, 255, 255));
  CanvasPixels pixels(image);
  DrawAntialiasedLine(pixels, 5, 1, 1, 1, kBlack, kBackgroundFromCanvas);
  DrawAntialiasedLine(pixels, 8, 0, 8, 3, kBlack, kBackgroundFromCanvas);
  DrawAntialiasedLine(pixels, 13, 0, 10, 3, kBlack, kBackgroundFromCanvas);
  expectPixels(pixels, {{1, 1, kBlack},
                        {3, 1, kBlack},
                        {5, 1, kBlack},
                        {6, 1, kWhite},
                        {8, 3, kBlack},
                        {8, 4, kWhite},
                        {12, 1, kBlack},
                        {10, 3, kBlack},
                        {12, 2, kWhite}});
}

TEST(AntialiasedLine, BlendMovesFromTheDarkerChannelTowardTheLighter) {
  EXPECT_EQ(Blend(0x0000FF, 0xFF0000, 255), 0xFF00FFu);
  EXPECT_EQ(Blend(0x0000FF, 0xFF0000, 0), 0x000000u);
  EXPECT_EQ(Blend(0x102030, 0x102030, 77), 0x102030u);
}

// Lines near or past the canvas's edge must not write outside the image.
TEST(AntialiasedLine, PixelsOffTheCanvasAreIgnored) {
  QImage image = plain(qRgb(255, 255, 255));
  CanvasPixels pixels(image);
  DrawAntialiasedLine(pixels, -5, -7, 45, 30, kBlack, kBackgroundFromCanvas);
  DrawAntialiasedLine(pixels, 39, 38, 41, 52, kBlack, kBackgroundFromCanvas);
  EXPECT_EQ(pixels.Get(-1, 3), 0u);
  EXPECT_EQ(pixels.Get(39, 38), kBlack);
}

// At 200 % one window pixel is a 2 x 2 block, read and blended as one.
TEST(AntialiasedLine, ScaledCanvasBlendsWholeBlocks) {
  QImage image = plain(qRgb(255, 255, 255), 2.0);
  CanvasPixels pixels(image);
  DrawAntialiasedLine(pixels, 0, 0, 4, 2, kBlack, kBackgroundFromCanvas);
  for (QPoint physical : {QPoint(2, 0), QPoint(3, 1)})
    EXPECT_EQ(image.pixel(physical), qRgb(128, 128, 128));
  EXPECT_EQ(image.pixel(4, 2), qRgb(0, 0, 0));
}

// Step 59 (a course of 359.9): angle 96, needle from (494, 690) to (496, 710)
// and again one pixel right. Adjust 6553: the first pair's weight is 25; the
// second line blends its first pixel over the first line's 230.
TEST(Needle, StepFiftyNineIsOneStepLeftOfUpWithHandWorkedShading) {
  QImage image(QSize(1010, 790), QImage::Format_RGB32);
  image.fill(Qt::white);
  CanvasPixels pixels(image);
  Compass::DrawNeedle(pixels, 59, kBlack, kBackgroundFromCanvas);
  expectPixels(pixels, {{494, 690, kBlack},
                        {495, 690, kBlack},
                        {496, 710, kBlack},
                        {497, 710, kBlack},
                        {494, 691, grey(25)},
                        {495, 691, grey(22)},
                        {496, 691, grey(230)},
                        {493, 691, kWhite}});
}

// Step 10: angle 30, needle from (519, 702) to (501, 712), X-major with
// adjust 36408, so the first pair weighs 142 and the second 28 (after the
// wrap). The second line starts on the first line's black end point, where
// line and background are equally dark, and its second pair darkens the
// first line's 113 at (518, 703) to 28 / 255 of it.
TEST(Needle, StepTenIsXMajorWithHandWorkedShading) {
  QImage image(QSize(1010, 790), QImage::Format_RGB32);
  image.fill(Qt::white);
  CanvasPixels pixels(image);
  Compass::DrawNeedle(pixels, 10, kBlack, kBackgroundFromCanvas);
  expectPixels(pixels, {{519, 702, kBlack},
                        {520, 702, kBlack},
                        {501, 712, kBlack},
                        {502, 712, kBlack},
                        {518, 702, grey(142)},
                        {518, 703, grey(12)},
                        {519, 703, grey(113)},
                        {521, 702, kWhite}});
}

TEST(Needle, CourseToAngleCountsStepsOfSixDegreesFromUp) {
  EXPECT_EQ(Compass::CourseToAngle(0), 90.0f);
  EXPECT_EQ(Compass::CourseToAngle(15), 0.0f);
  EXPECT_EQ(Compass::CourseToAngle(30), 270.0f);
  EXPECT_EQ(Compass::CourseToAngle(359 / Compass::kDegreesPerStep), 96.0f);
}
