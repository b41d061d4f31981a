// SPDX-License-Identifier: GPL-3.0-or-later
// The command map's calls into the engine, observed as the text commands and
// window messages that reach the scripted fake player module.
#include "FakePlayerDriver.h"
#include "FakePlayerWindowFixture.h"

#include "engine/PlaybackValues.h"
#include "engine/QIRAAdap.h"
#include "engine/QIRAState.h"
#include "engine/QIRAstat0.h"
#include "engine/QIRAstat1.h"
#include "engine/QIRAstat4.h"
#include "engine/QIRAstat9.h"
#include "platform/WindowMessage.h"
#include "tests/fakeplayer/FakePlayerControl.h"
#include "tests/support/DiagnosticRecorder.h"
#include "tests/support/MessageRecorder.h"

#include <QLabel>
#include <QTimer>
#include <gmock/gmock.h>

namespace {

using testing::ElementsAre;
using testing_support::waitUntil;

class CommandMapTest : public FakePlayerWindowFixture {
protected:
  void Fire(intptr_t data, uint32_t code) { ASSERT_TRUE(FakePlayerDriver::Fire(data, code)); }

  QIRAState* State() { return Window().Adapter()->CurrentState(); }

  // Playing, with the recording flag set by Play.
  void StartPlaying() {
    ASSERT_TRUE(m_driver.StartPlaying(Window()));
    Button(IDC_PLAY)->click();
    ASSERT_TRUE(Window().IsRecordingOpen());
    SkipCommands();
  }

  // The slider at `position`, reported as the slider reports a change.
  void Scroll(ControlId id, int position, int code = CImageSlider::SB_THUMBTRACK) {
    Slider(id)->SetPos(position);
    emit Slider(id)->scrolled(code, position);
  }

  void Key(ControlId id, Qt::Key key) {
    QTest::keyClick(Item(id), key);
    QCoreApplication::processEvents();
  }

  FakePlayerDriver m_driver;
};

TEST_F(CommandMapTest, PlayPauseAndStopReachThePlayer) {
  StartPlaying();
  Button(IDC_PAUSE)->click();
  Button(IDC_PLAY)->click();
  Button(IDC_STOP)->click();
  EXPECT_THAT(NewCommands(), ElementsAre("pause", "pause", "pt_step 1 1"));
}

// The label and the absolute speed sent always agree.
TEST_F(CommandMapTest, SpeedButtonsSetTheLevelAndTheLabel) {
  StartPlaying();
  Button(IDC_FASTER)->click();
  Button(IDC_FASTER)->click();
  Button(IDC_FASTER)->click();
  EXPECT_EQ(static_cast<QLabel*>(Item(IDC_SPEED))->text(), QStringLiteral("x4"));
  for (int press = 0; press < 5; ++press)
    Button(IDC_SLOWER)->click();
  EXPECT_EQ(static_cast<QLabel*>(Item(IDC_SPEED))->text(), QStringLiteral("-x4"));
  EXPECT_THAT(NewCommands(), ElementsAre("speed_set 2.00 1", "speed_set 3.00 1", "speed_set 2.00 1", "speed_set 1.00 1",
                                         "speed_set 0.00 1", "speed_set -1.00 1"));
}

// First move to p: twice p; later moves: twice the difference. The position
// comes from the control, not from the notification.
TEST_F(CommandMapTest, BrightnessSliderSendsTwiceItsChange) {
  StartPlaying();
  Slider(IDC_BRIGHTNESS_SLIDER)->SetPos(4);
  emit Slider(IDC_BRIGHTNESS_SLIDER)->scrolled(CImageSlider::SB_THUMBTRACK, 9);
  Scroll(IDC_BRIGHTNESS_SLIDER, 7, CImageSlider::SB_PAGERIGHT);
  Scroll(IDC_BRIGHTNESS_SLIDER, 2, CImageSlider::SB_PAGELEFT);
  Scroll(IDC_BRIGHTNESS_SLIDER, 9, CImageSlider::SB_THUMBPOSITION);
  EXPECT_THAT(NewCommands(), ElementsAre("brightness 9 2", "brightness 15 2", "brightness 5 2"));
  EXPECT_EQ(Window().LastBrightnessPos(), 2);
}

// The first move counts from the start position 10: to 12 is +20, then to 9 is -30.
TEST_F(CommandMapTest, VolumeSliderSendsTenTimesItsChange) {
  StartPlaying();
  Scroll(IDC_VOLUME_SLIDER, 12);
  Scroll(IDC_VOLUME_SLIDER, 9);
  EXPECT_THAT(NewCommands(), ElementsAre("volume 120 2", "volume 90 2"));
}

// Each step pauses and seeks to the whole second: 254 units at 255 per second is 0 s.
TEST_F(CommandMapTest, PositionSliderPausesAndSeeksToWholeSeconds) {
  StartPlaying();
  static player::StreamInfo info{};
  static player::StreamRecord record{};
  info.length = 2000;
  record.info = &info;
  Fire(reinterpret_cast<intptr_t>(&record), player::kEventLength);
  ASSERT_EQ(Slider(IDC_POSITION_SLIDER)->maximum(), 2000);
  g_Playback.nPosUnitsPerSecond = 255;
  Scroll(IDC_POSITION_SLIDER, 254);
  Scroll(IDC_POSITION_SLIDER, 255);
  EXPECT_THAT(NewCommands(), ElementsAre("pause", "seek 0.00 2", "pause", "seek 1.00 2"));
}

// Home, End and the arrows move the thumb without seeking; the page keys seek.
TEST_F(CommandMapTest, PositionSliderKeysSeekOnlyByPages) {
  StartPlaying();
  g_Playback.nPosUnitsPerSecond = 10;
  for (Qt::Key key : {Qt::Key_End, Qt::Key_Home, Qt::Key_Right, Qt::Key_Left})
    Key(IDC_POSITION_SLIDER, key);
  EXPECT_TRUE(NewCommands().empty());
  Key(IDC_POSITION_SLIDER, Qt::Key_PageDown);
  Key(IDC_POSITION_SLIDER, Qt::Key_PageDown);
  Key(IDC_POSITION_SLIDER, Qt::Key_PageUp);
  EXPECT_THAT(NewCommands(), ElementsAre("pause", "seek 1.00 2", "pause", "seek 2.00 2", "pause", "seek 1.00 2"));
}

TEST_F(CommandMapTest, HiddenDeveloperButtonsSendTheirSteps) {
  StartPlaying();
  for (ControlId id :
       {IDC_FORWARD_SEEK, IDC_BACKWARD_SEEK, IDC_VOLUME_UP, IDC_VOLUME_DOWN, IDC_BRIGHT_UP, IDC_BRIGHT_DOWN})
    Button(id)->click();
  EXPECT_THAT(NewCommands(), ElementsAre("seek 2.00", "seek -2.00", "volume 101 2", "volume 100 2", "brightness 2 2",
                                         "brightness 1 2"));
}

// Video-window buttons and window moves talk to the player's window, and only
// once it has one.
TEST_F(CommandMapTest, VideoWindowMessagesFollowTheWindow) {
  testing_support::MessageRecorder video;
  Window().move(Window().pos() + QPoint(5, 5));
  StartPlaying();
  Fire(reinterpret_cast<intptr_t>(static_cast<QObject*>(&video)), player::kEventVideoWindow1);
  EXPECT_TRUE(video.messages().empty());

  Window().move(Window().pos() + QPoint(5, 5));
  EXPECT_EQ(video.messages(player::kMsgMove).size(), 1u);
  EXPECT_EQ(video.messages(player::kMsgParentMoved).size(), 1u);
  Button(IDC_SMALL)->click();
  Button(IDC_POS)->click();
  EXPECT_EQ(video.messages(platform::kMsgWindowPos).size(), 2u);
  Button(IDC_FRAME_STEP)->click();
  EXPECT_EQ(video.messages(player::kMsgFrameStep).size(), 1u);
  Button(IDC_FLY_AWAY)->click();
  EXPECT_EQ(video.messages(player::kMsgFlyAwayBegin).size(), 1u);
  EXPECT_EQ(video.messages(player::kMsgFlyAwayEnd).size(), 1u);
}

// The program ends without a word to the player, which keeps running until
// the process ends.
TEST_F(CommandMapTest, ExitWhilePlayingSendsNothingToThePlayer) {
  StartPlaying();
  Window().hide();
  QTimer::singleShot(0, &Window(), [this] { Button(IDC_EXIT)->click(); });
  EXPECT_EQ(Window().exec(), QDialog::Accepted);
  EXPECT_TRUE(NewCommands().empty());
  EXPECT_TRUE(fake_entry_running());
  EXPECT_EQ(fake_stop_flag_value(), 0);
}

// A loaded but idle library is released by Unload and the engine starts over.
TEST_F(CommandMapTest, UnloadReleasesAnIdleLibrary) {
  Fire(0, player::kEventReady);
  QIRAAdap* engine = Window().Adapter();
  ASSERT_EQ(State(), engine->StateNumbered(4));
  Button(IDC_UNLOAD)->click();
  EXPECT_EQ(State(), engine->StateNumbered(0));
  EXPECT_FALSE(engine->IsPlayerLibraryLoaded());
}

// Two channels: the library is loaded already, and the window goes to the
// developer's place at the size it had before the skin.
TEST_F(CommandMapTest, SecondChannelSetUpPlacesTheWindowForTwoChannels) {
  const testing_support::DiagnosticRecorder diagnostics;
  Button(IDC_CH2)->click();
  EXPECT_NE(diagnostics.text().find("failed to load fakeplayer.dll\n"), std::string::npos);
  EXPECT_EQ(Window().Adapter()->Channels(), 2);
  EXPECT_EQ(Window().pos(), QPoint(5, 169));
  EXPECT_EQ(Window().size(), QSize(Window().Adapter()->MainWindowWidth(), Window().Adapter()->MainWindowHeight()));
}

} // namespace
