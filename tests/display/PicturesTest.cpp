// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/Compass.h"
#include "display/EventMarks.h"
#include "display/PlayTimes.h"
#include "display/SpeedDigits.h"

#include <climits>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QRgb kCanvasColour = qRgb(90, 90, 90);

QImage filled(QSize size, QRgb colour) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

QRgb digitColour(int digit) { return qRgb(20 * digit, 7, 200); }
const QRgb kDashColour = qRgb(1, 2, 3);

// Digit pictures 15 x 22, as the skin's, each in its own colour.
SpeedDigits::Pictures digitPictures() {
  SpeedDigits::Pictures pictures;
  for (int digit = 0; digit < 10; ++digit)
    pictures[digit] = filled(QSize(15, 22), digitColour(digit));
  return pictures;
}

} // namespace

// Leading zeros; speeds the pictures cannot show are bounded, never an index
// outside the ten pictures.
TEST(SpeedDigitsTest, ThreePlacesBoundedToZeroToNineNineNine) {
  using P = SpeedDigits::Places;
  EXPECT_EQ(SpeedDigits::DigitsOf(0), (P{0, 0, 0}));
  EXPECT_EQ(SpeedDigits::DigitsOf(5), (P{0, 0, 5}));
  EXPECT_EQ(SpeedDigits::DigitsOf(39), (P{0, 3, 9}));
  EXPECT_EQ(SpeedDigits::DigitsOf(250), (P{2, 5, 0}));
  EXPECT_EQ(SpeedDigits::DigitsOf(-9), (P{0, 0, 0}));
  EXPECT_EQ(SpeedDigits::DigitsOf(1000), (P{9, 9, 9}));
  EXPECT_EQ(SpeedDigits::DigitsOf(INT_MIN), (P{0, 0, 0}));
  EXPECT_EQ(SpeedDigits::DigitsOf(INT_MAX), (P{9, 9, 9}));
}

TEST(SpeedDigitsTest, PicturesLandAtTheirPlacesAndKeepTheCanvasBelowThem) {
  QImage canvas = filled(QSize(1010, 790), kCanvasColour);
  SpeedDigits digits(digitPictures(), filled(QSize(15, 22), kDashColour));
  digits.Draw(canvas, 0);
  for (int left : {587, 603, 619}) {
    EXPECT_EQ(canvas.pixel(left, 698), digitColour(0));
    EXPECT_EQ(canvas.pixel(left + 14, 719), digitColour(0));
    EXPECT_EQ(canvas.pixel(left + 1, 721), kCanvasColour) << "the picture is 22 rows high";
  }
  digits.Draw(canvas, 147);
  EXPECT_EQ(canvas.pixel(590, 700), digitColour(1));
  EXPECT_EQ(canvas.pixel(606, 700), digitColour(4));
  EXPECT_EQ(canvas.pixel(622, 700), digitColour(7));
  digits.DrawNone(canvas);
  for (int left : {587, 603, 619})
    EXPECT_EQ(canvas.pixel(left + 3, 700), kDashColour) << "no speed is three dashes";
}

// The dial is restored unless the step equals the remembered value, which is
// a random number below 29; a new step always restores it.
TEST(CompassTest, DialIsRestoredBeforeTheNeedleOfANewStep) {
  QImage canvas = filled(QSize(1010, 790), kCanvasColour);
  Compass compass(filled(QSize(116, 118), qRgb(255, 255, 255)));
  compass.DrawCompass(canvas, 90); // step 15: pointing right
  EXPECT_EQ(canvas.pixel(440, 656), qRgb(255, 255, 255));
  EXPECT_EQ(canvas.pixel(560, 700), kCanvasColour) << "the dial picture is 116 pixels wide";
  EXPECT_EQ(canvas.pixel(510, 715), qRgb(0, 0, 0));
  EXPECT_EQ(canvas.pixel(497, 700), qRgb(255, 255, 255));
  EXPECT_LT(compass.LastCompassValue(), 29);
  compass.DrawCompass(canvas, 180); // step 30, never a remembered value: pointing down, old needle gone
  EXPECT_EQ(canvas.pixel(510, 715), qRgb(255, 255, 255));
  EXPECT_EQ(canvas.pixel(497, 730), qRgb(0, 0, 0));
}

// Drawing what the canvas already shows changes nothing and is not done, so
// its rectangle is not painted again; after the dashes or the bare dial the
// same value must be drawn anew.
TEST(UnchangedPicturesTest, SameValueDrawnOnceUntilItsPlaceIsCleared) {
  QImage canvas = filled(QSize(1010, 790), kCanvasColour);
  SpeedDigits digits(digitPictures(), filled(QSize(15, 22), kDashColour));
  std::srand(7);
  Compass compass(filled(QSize(116, 118), qRgb(255, 255, 255)));
  struct Step {
    const char* what;
    std::function<bool()> draw;
    bool drawn;
  };
  const Step steps[] = {
      {"speed", [&] { return digits.Draw(canvas, 42); }, true},
      {"same speed", [&] { return digits.Draw(canvas, 42); }, false},
      {"other speed", [&] { return digits.Draw(canvas, 43); }, true},
      {"same speed after dashes", [&] { return digits.DrawNone(canvas), digits.Draw(canvas, 43); }, true},
      {"course", [&] { return compass.DrawCompass(canvas, 90); }, true},
      {"same step", [&] { return compass.DrawCompass(canvas, 94); }, false},
      {"other step", [&] { return compass.DrawCompass(canvas, 180); }, true},
      {"same step after bare dial", [&] { return compass.DrawDial(canvas), compass.DrawCompass(canvas, 180); }, true},
  };
  for (const Step& step : steps) {
    const QImage before = canvas.copy();
    ASSERT_NE(compass.LastCompassValue(), 15) << "the seed must not keep the old needle under a new one";
    EXPECT_EQ(step.draw(), step.drawn) << step.what;
    if (!step.drawn) {
      EXPECT_EQ(canvas, before) << step.what;
    }
  }
}

TEST(EventMarksTest, OffsetsFromTheLinesEndingTimeAndTheBaseTime) {
  const std::vector<std::string> notes = {"Date : 2009/01/08 13:42:09",
                                          "Date : 2009/01/08 13:41:39\r\n",
                                          "Date : 2009/01/08 13:40:00",
                                          "13:4",
                                          "",
                                          "Date : 2009/01/08 1x:42:09",
                                          "Date : --:--:--"};
  EXPECT_EQ(EventMarks::Offsets(notes, "134139"), (std::vector<int>{30, 0, -99}));
  EXPECT_TRUE(EventMarks::Offsets(notes, "13").empty()) << "a base time without a time marks nothing";
  EXPECT_TRUE(EventMarks::Offsets(notes, "ab4139").empty());
}

// A 60 s recording: scale 11, 30 s marks at x 363, the base time itself (x 33)
// and anything past the end or before the start are not marked.
TEST(EventMarksTest, ScaleSkipsAndTheLeftLimit) {
  EXPECT_EQ(EventMarks::MarkLefts({30, 0, 61, 60, -5, 2}, 60), (std::vector<int>{363, 693, 55}));
  EXPECT_EQ(EventMarks::MarkLefts({1}, 666), (std::vector<int>{}));
  EXPECT_TRUE(EventMarks::MarkLefts({30}, 1000).empty()) << "scale 0 puts every mark at 33";
  EXPECT_TRUE(EventMarks::MarkLefts({30}, 0).empty()) << "no duration, no division";
  EXPECT_TRUE(EventMarks::MarkLefts({30}, -4).empty());
}

TEST(EventMarksTest, MarkPictureIsCopiedAtTheTimeline) {
  QImage canvas = filled(QSize(1010, 790), kCanvasColour);
  EventMarks marks(filled(QSize(12, 21), qRgb(250, 0, 0)));
  marks.SetNotes({"Date : 2009/01/08 13:42:09"}, "134139");
  marks.Draw(canvas, 60);
  EXPECT_EQ(canvas.pixel(363, 589), qRgb(250, 0, 0));
  EXPECT_EQ(canvas.pixel(374, 609), qRgb(250, 0, 0));
  EXPECT_EQ(canvas.pixel(375, 600), kCanvasColour);
  EXPECT_EQ(canvas.pixel(363, 610), kCanvasColour);
}

TEST(PlayTimesTest, MinutesAndSecondsWithTwoPlacesEach) {
  EXPECT_EQ(PlayTimeText(125), "02:05");
  EXPECT_EQ(PlayTimeText(6000), "100:00");
  EXPECT_EQ(PlayTimeText(0), "00:00");
  EXPECT_EQ(PlayTimeText(3599), "59:59");
  EXPECT_EQ(PlayTimeText(-3), "00:00");
}
