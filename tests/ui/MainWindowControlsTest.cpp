// SPDX-License-Identifier: GPL-3.0-or-later
// Playback controls that act on the window alone, without a running player.
#include "MainWindowFixture.h"

#include "platform/WindowMessage.h"

namespace {

class ControlsTest : public MainWindowFixture {
protected:
  // A key on a slider, and the posted notification handled.
  void Key(ControlId slider, Qt::Key key) {
    QTest::keyClick(Item(slider), key);
    QCoreApplication::processEvents();
  }
};

} // namespace

// Before a recording is open the sliders move but nothing is remembered.
TEST_F(ControlsTest, SlidersDoNothingBeforeARecordingIsOpen) {
  Key(IDC_BRIGHTNESS_SLIDER, Qt::Key_PageDown);
  Key(IDC_VOLUME_SLIDER, Qt::Key_PageDown);
  EXPECT_EQ(Slider(IDC_VOLUME_SLIDER)->GetPos(), 20);
  EXPECT_EQ(Window().LastBrightnessPos(), 0);
  EXPECT_EQ(Window().LastVolumePos(), 0);
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
