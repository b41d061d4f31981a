// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/CImageSlider.h"
#include "controls/SkinLibrary.h"
#include "platform/WindowMessenger.h"

#include <QApplication>
#include <QPaintEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using Report = std::pair<int, int>; // scroll code, position

// A slider on a parent window: range 0..99 over a travel of 600 pixels
// (width 628 = 600 + 2 x margin 10 + thumb 8), so each position owns 6 pixels.
class ImageSliderTest : public testing::Test {
protected:
  void SetUp() override {
    parent.resize(700, 100);
    slider = new CImageSlider(&parent);
    slider->SetRange(0, 99);
    slider->setGeometry(10, 10, 628, 12);
    slider->SetBitmaps(SkinLibrary::kPositionChannel, SkinLibrary::kPositionThumb, 0, 0, 10);
    spy = std::make_unique<QSignalSpy>(slider, &CImageSlider::scrolled);
  }

  // The reports that have been delivered so far, in order.
  std::vector<Report> delivered() {
    QApplication::processEvents();
    std::vector<Report> reports;
    for (const QList<QVariant>& args : *spy)
      reports.emplace_back(args.at(0).toInt(), args.at(1).toInt());
    spy->clear();
    return reports;
  }

  void press(int x) { QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(x, 6)); }
  void move(int x) { QTest::mouseMove(slider, QPoint(x, 6)); }
  void release(int x) { QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(x, 6)); }
  void key(Qt::Key k) { QTest::keyClick(slider, k); }

  // x of a mouse point whose offset into the travel is the given one.
  static int atOffset(int offset) { return offset + 8 / 2 + 10; }

  QWidget parent;
  CImageSlider* slider = nullptr;
  std::unique_ptr<QSignalSpy> spy;
};

TEST_F(ImageSliderTest, ThumbMovesSixPixelsPerPositionAndIsCentredVertically) {
  // Guards the travel geometry shared by painting and the mouse.
  for (int position : {0, 1, 50, 99}) {
    slider->SetPos(position);
    slider->grab();
    EXPECT_EQ(slider->thumbPos(), QPoint(10 + 6 * position, 12 / 2 - 9 / 2)) << position;
  }
}

TEST_F(ImageSliderTest, ClickMapsOffsetsToPositionsAtBothEnds) {
  // Offsets 0..5 belong to position 0, 594..599 to 99; beyond the end stays 99.
  const std::pair<int, int> cases[] = {{0, 0}, {5, 0}, {6, 1}, {594, 99}, {599, 99}, {610, 99}};
  for (auto [offset, expected] : cases) {
    slider->SetPos(50);
    press(atOffset(offset));
    release(atOffset(offset));
    EXPECT_EQ(slider->GetPos(), expected) << offset;
  }
  // Left of the travel clamps to the minimum.
  slider->SetPos(50);
  press(1);
  release(1);
  EXPECT_EQ(slider->GetPos(), 0);
}

TEST_F(ImageSliderTest, ReportsArePostedAfterTheEventWithThePositionOfThatTime) {
  press(atOffset(6 * 40));
  EXPECT_EQ(spy->count(), 0) << "a report must be posted, not sent";
  slider->SetPos(7);
  EXPECT_EQ(delivered(), (std::vector<Report>{{CImageSlider::SB_THUMBTRACK, 40}}));
  release(atOffset(6 * 40));
}

TEST_F(ImageSliderTest, ClickOnTheCurrentPositionReportsNothing) {
  slider->SetPos(20);
  press(atOffset(6 * 20 + 3));
  release(atOffset(6 * 20 + 3));
  EXPECT_TRUE(delivered().empty());
  EXPECT_EQ(slider->GetPos(), 20);
}

TEST_F(ImageSliderTest, DragEndsWithOneThumbPositionAfterTheLastTrack) {
  press(atOffset(0));
  move(atOffset(60));
  move(atOffset(120));
  release(atOffset(180));
  const std::vector<Report> expected = {{CImageSlider::SB_THUMBTRACK, 10},
                                        {CImageSlider::SB_THUMBTRACK, 20},
                                        {CImageSlider::SB_THUMBTRACK, 30},
                                        {CImageSlider::SB_THUMBPOSITION, 30}};
  EXPECT_EQ(delivered(), expected);
  EXPECT_FALSE(slider->isDragging());
}

TEST_F(ImageSliderTest, DragPastTheRightEndKeepsReportingAtTheMaximum) {
  slider->SetPos(99);
  press(atOffset(650));
  move(atOffset(660));
  release(atOffset(670));
  const std::vector<Report> reports = delivered();
  ASSERT_EQ(reports.size(), 4u);
  for (const Report& report : reports)
    EXPECT_EQ(report.second, 99);
  EXPECT_EQ(reports.back().first, CImageSlider::SB_THUMBPOSITION);
}

TEST_F(ImageSliderTest, DragWhoseReleaseWentElsewhereIsFinishedByTheNextPress) {
  // Otherwise the first drag's final position would never be reported.
  press(atOffset(60));
  press(atOffset(120));
  release(atOffset(120));
  const std::vector<Report> expected = {{CImageSlider::SB_THUMBTRACK, 10},
                                        {CImageSlider::SB_THUMBPOSITION, 10},
                                        {CImageSlider::SB_THUMBTRACK, 20},
                                        {CImageSlider::SB_THUMBPOSITION, 20}};
  EXPECT_EQ(delivered(), expected);
  EXPECT_FALSE(slider->isDragging());
}

TEST_F(ImageSliderTest, KeysMoveByLineAndPageAndReportTheirCode) {
  struct Case {
    int start;
    Qt::Key key;
    int position;
    int code;
  };
  const Case cases[] = {
      {50, Qt::Key_PageUp, 40, CImageSlider::SB_PAGELEFT},    {5, Qt::Key_PageUp, 0, CImageSlider::SB_PAGELEFT},
      {50, Qt::Key_PageDown, 60, CImageSlider::SB_PAGERIGHT}, {99, Qt::Key_PageDown, 99, CImageSlider::SB_PAGERIGHT},
      {50, Qt::Key_End, 99, CImageSlider::SB_RIGHT},          {50, Qt::Key_Home, 0, CImageSlider::SB_LEFT},
      {50, Qt::Key_Left, 49, CImageSlider::SB_LINELEFT},      {0, Qt::Key_Left, 0, CImageSlider::SB_LINELEFT},
      {50, Qt::Key_Right, 51, CImageSlider::SB_LINERIGHT},    {50, Qt::Key_Up, 49, CImageSlider::SB_LINELEFT},
      {50, Qt::Key_Down, 51, CImageSlider::SB_LINERIGHT},
  };
  for (const Case& c : cases) {
    slider->SetPos(c.start);
    key(c.key);
    const std::vector<Report> expected = {{c.code, c.position}, {CImageSlider::SB_ENDSCROLL, c.position}};
    EXPECT_EQ(delivered(), expected) << c.key << " from " << c.start;
  }
}

TEST_F(ImageSliderTest, OtherKeysReachTheParent) {
  // Escape and Enter must still end the main window.
  slider->SetPos(30);
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(slider, &escape);
  EXPECT_FALSE(escape.isAccepted());
  EXPECT_EQ(slider->GetPos(), 30);
  EXPECT_TRUE(delivered().empty());
}

TEST_F(ImageSliderTest, HeldKeyEndsScrollingOnceOnRelease) {
  slider->SetPos(10);
  QKeyEvent first(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
  QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, QString(), true);
  QKeyEvent repeatPress(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
  QKeyEvent finalRelease(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier);
  for (QKeyEvent* event : {&first, &repeatRelease, &repeatPress, &finalRelease})
    QApplication::sendEvent(slider, event);
  const std::vector<Report> expected = {
      {CImageSlider::SB_LINERIGHT, 11}, {CImageSlider::SB_LINERIGHT, 12}, {CImageSlider::SB_ENDSCROLL, 12}};
  EXPECT_EQ(delivered(), expected);
}

TEST_F(ImageSliderTest, TooNarrowForItsThumbIgnoresTheMouseInsteadOfDividingByZero) {
  slider->setGeometry(10, 10, 20, 12); // 20 - 2 x 10 - 8 < 0
  slider->SetPos(3);
  press(15);
  move(18);
  release(19);
  EXPECT_EQ(slider->GetPos(), 3);
  slider->grab();
  EXPECT_EQ(slider->thumbPos().x(), 10);
}

TEST_F(ImageSliderTest, EngineMessagesSetRangeAndPositionSilently) {
  platform::WindowMessenger::send(slider, platform::kMsgTbmSetRangeMin, 0, 0);
  platform::WindowMessenger::send(slider, platform::kMsgTbmSetRangeMax, 0, 1800);
  platform::WindowMessenger::send(slider, platform::kMsgTbmSetPos, 1, 900);
  EXPECT_EQ(slider->maximum(), 1800);
  EXPECT_EQ(slider->GetPos(), 900);
  platform::WindowMessenger::send(slider, platform::kMsgTbmSetPos, 1, 5000);
  EXPECT_EQ(slider->GetPos(), 1800) << "the position stays within the range";
  EXPECT_TRUE(delivered().empty()) << "engine moves are not user scrolls";
}

// Pixel by pixel: a shown window's picture carries more than its pixels.
bool samePixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size())
    return false;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y))
        return false;
  return true;
}

// The engine moves the thumb ten times a second: a position on the same
// pixel repaints nothing, another one only the thumb's old and new places,
// and the slider then looks as one painted whole at that position.
TEST_F(ImageSliderTest, EngineMovesRepaintOnlyTheThumbsPlaces) {
  struct PaintedRegion : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint)
        region += static_cast<QPaintEvent*>(event)->region();
      return false;
    }
    QRegion region;
  } painted;
  parent.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
  slider->SetRange(0, 5999); // ten positions a pixel
  QApplication::processEvents();
  slider->installEventFilter(&painted);
  const struct {
    int position;
    bool repaints;
  } moves[] = {{4, false}, {9, false}, {10, true}, {3000, true}, {3005, false}};
  for (const auto& move : moves) {
    const int before = slider->thumbPos().x();
    painted.region = {};
    platform::WindowMessenger::send(slider, platform::kMsgTbmSetPos, 1, move.position);
    QApplication::processEvents();
    const int now = slider->thumbPos().x();
    const QRect bounds = painted.region.boundingRect();
    EXPECT_EQ(painted.region.isEmpty(), !move.repaints) << "position " << move.position;
    if (move.repaints) {
      EXPECT_EQ(bounds.left(), std::min(before, now)) << "position " << move.position;
      EXPECT_EQ(bounds.right(), std::max(before, now) + 7) << "position " << move.position;
    }
    CImageSlider whole;
    whole.SetRange(0, 5999);
    whole.resize(slider->size());
    whole.SetBitmaps(SkinLibrary::kPositionChannel, SkinLibrary::kPositionThumb, 0, 0, 10);
    whole.SetPos(move.position);
    EXPECT_TRUE(samePixels(slider->grab().toImage(), whole.grab().toImage())) << "position " << move.position;
  }
}

// The thumb's three looks, told apart by pictures that differ: normal grey,
// dragged cyan, focused amber.
class ImageSliderLookTest : public testing::Test {
protected:
  void SetUp() override {
    window.resize(200, 60);
    slider = new CImageSlider(&window);
    slider->SetRange(0, 10);
    slider->setGeometry(20, 20, 120, 14);
    slider->SetBitmaps(SkinLibrary::kVolumeChannel, SkinLibrary::kVolumeThumb, SkinLibrary::kVolumeDragThumb,
                       SkinLibrary::kBrightnessDragThumb, 10);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  // Compares the thumb's opaque middle; its rounded corners show the channel.
  bool thumbLooksLike(int id) {
    const qreal ratio = slider->devicePixelRatioF();
    const QImage painted = slider->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage expected = SkinLibrary::image(id, ratio);
    const QRect middle = QRect(2, 2, 13, 6);
    const QRect paintedMiddle(middle.translated(slider->thumbPos()).topLeft() * ratio, middle.size() * ratio);
    return painted.copy(paintedMiddle) == expected.copy(QRect(middle.topLeft() * ratio, middle.size() * ratio));
  }

  QWidget window;
  CImageSlider* slider = nullptr;
};

TEST_F(ImageSliderLookTest, DraggedThenFocusedThumbAfterAClick) {
  slider->clearFocus();
  EXPECT_TRUE(thumbLooksLike(SkinLibrary::kVolumeThumb));
  QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(60, 7));
  EXPECT_TRUE(slider->hasFocus()) << "a click takes the focus";
  EXPECT_TRUE(thumbLooksLike(SkinLibrary::kVolumeDragThumb));
  QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(60, 7));
  EXPECT_TRUE(thumbLooksLike(SkinLibrary::kBrightnessDragThumb));
  slider->clearFocus();
  EXPECT_TRUE(thumbLooksLike(SkinLibrary::kVolumeThumb));
}

} // namespace
