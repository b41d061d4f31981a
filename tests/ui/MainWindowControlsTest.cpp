// SPDX-License-Identifier: GPL-3.0-or-later
// Playback controls that act on the window alone, without a running player.
#include "MainWindowFixture.h"

#include "platform/WindowMessage.h"

#include <QLabel>

namespace {

class ControlsTest : public MainWindowFixture {
protected:
  QString SpeedText() { return static_cast<QLabel*>(Item(IDC_SPEED))->text(); }

  // A key on a slider, and the posted notification handled.
  void Key(ControlId slider, Qt::Key key) {
    QTest::keyClick(Item(slider), key);
    QCoreApplication::processEvents();
  }
};

} // namespace

// The label must stop at the ends and never skip a level.
TEST_F(ControlsTest, FasterAndSlowerStepThroughTheSpeedLevelsAndStopAtTheEnds) {
  QStringList shown;
  for (int press = 0; press < 3; ++press) {
    Button(IDC_FASTER)->click();
    shown << SpeedText();
  }
  EXPECT_EQ(shown, (QStringList{"x2", "x4", "x4"}));
  EXPECT_EQ(g_fSpeedLevel, 3.0f);

  g_fSpeedLevel = kNormalSpeedLevel;
  shown.clear();
  for (int press = 0; press < 3; ++press) {
    Button(IDC_SLOWER)->click();
    shown << SpeedText();
  }
  EXPECT_EQ(shown, (QStringList{"-x2", "-x4", "-x4"}));
  EXPECT_EQ(g_fSpeedLevel, -1.0f);
}

// Before a recording is open the sliders move but nothing is remembered.
TEST_F(ControlsTest, SlidersDoNothingBeforeARecordingIsOpen) {
  Key(IDC_BRIGHTNESS_SLIDER, Qt::Key_PageDown);
  Key(IDC_VOLUME_SLIDER, Qt::Key_PageDown);
  EXPECT_EQ(Slider(IDC_VOLUME_SLIDER)->GetPos(), 20);
  EXPECT_EQ(Window().LastBrightnessPos(), 0);
  EXPECT_EQ(Window().LastVolumePos(), 0);
}

// Only page steps and thumb tracking act; line, Home and End steps are ignored.
TEST_F(ControlsTest, OnlyPageAndTrackNotificationsAct) {
  Button(IDC_PLAY)->click();
  ASSERT_TRUE(Window().IsRecordingOpen());
  for (Qt::Key ignored : {Qt::Key_Right, Qt::Key_End, Qt::Key_Home, Qt::Key_Left})
    Key(IDC_VOLUME_SLIDER, ignored);
  EXPECT_EQ(Window().LastVolumePos(), 0);
  Key(IDC_VOLUME_SLIDER, Qt::Key_PageUp);
  EXPECT_EQ(Window().LastVolumePos(), 1);

  CImageSlider* brightness = Slider(IDC_BRIGHTNESS_SLIDER);
  const QPoint centre(brightness->width() / 2, brightness->height() / 2);
  QTest::mousePress(brightness, Qt::LeftButton, {}, centre);
  QTest::mouseRelease(brightness, Qt::LeftButton, {}, centre);
  QCoreApplication::processEvents();
  EXPECT_EQ(Window().LastBrightnessPos(), brightness->GetPos());
  EXPECT_GT(brightness->GetPos(), 1);
}

// Player notifications move the position slider only while a recording is open.
TEST_F(ControlsTest, PlayerNotificationMovesThePositionSlider) {
  const auto notify = [this](uintptr_t length, intptr_t position) {
    platform::WindowMessageEvent message(platform::kMsgPlayerNotify, length, position);
    QCoreApplication::sendEvent(&Window(), &message);
  };
  notify(100, 40);
  EXPECT_EQ(Slider(IDC_POSITION_SLIDER)->GetPos(), 0);
  Button(IDC_PLAY)->click();
  notify(100, 40);
  EXPECT_EQ(Slider(IDC_POSITION_SLIDER)->GetPos(), 40);
}
