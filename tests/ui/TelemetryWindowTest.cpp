// SPDX-License-Identifier: GPL-3.0-or-later
// The window's handling of the engine's notifications: what reaches the
// canvas and the screen, and the end of a recording.
#include "FakePlayerDriver.h"
#include "FakePlayerWindowFixture.h"

#include "app/WindowThreadWait.h"

#include "engine/PlaybackValues.h"
#include "engine/PlayerContract.h"
#include "engine/QIRAAdap.h"
#include "platform/WindowMessage.h"
#include "tests/fakeplayer/FakePlayerControl.h"
#include "tests/support/MessageRecorder.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPainter>
#include <QTimer>

namespace {

const char kSentence[] = "$GPRMC,101500.000,A,4807.0380,N,01131.0000,E,022.4,084.4,071226,,";

class TelemetryWindowTest : public FakePlayerWindowFixture {
protected:
  // Playing a 60-second recording of 1800 positions with a sentence at 0.
  void StartPlaying() {
    ASSERT_TRUE(m_driver.StartPlaying(Window(), {kSentence}));
    Button(IDC_PLAY)->click();
    static player::StreamInfo info{};
    static player::StreamRecord record{};
    info.length = 1800;
    record.info = &info;
    ASSERT_TRUE(FakePlayerDriver::Fire(intptr_t(&record), player::kEventLength));
    static const float duration = 60.0f;
    ASSERT_TRUE(FakePlayerDriver::Fire(intptr_t(&duration), player::kEventDuration));
    g_Playback.nTickCount = 0;
  }

  // A frame report that the engine turns into a notification.
  void Frame(uint32_t position, float seconds) {
    ASSERT_TRUE(FakePlayerDriver::Fire(intptr_t(position), player::kEventPosition));
    static player::FrameReport frame{};
    frame.secondsPlayed = seconds;
    ASSERT_TRUE(FakePlayerDriver::Fire(intptr_t(&frame), player::kEventFrame));
    QCoreApplication::processEvents();
  }

  void Notify(uintptr_t length, intptr_t position) {
    platform::WindowMessageEvent message(platform::kMsgPlayerNotify, length, position);
    QCoreApplication::sendEvent(&Window(), &message);
  }

  QImage CanvasPart(const QRect& rect) { return Window().Canvas().copy(Window().Skin().CanvasSource(rect).toRect()); }
  QImage BackgroundPart(const QRect& rect) {
    return Window().Skin().Background().copy(Window().Skin().CanvasSource(rect).toRect());
  }
  QString Text(ControlId id) { return static_cast<QLabel*>(Item(id))->text(); }

  int StopCommands() {
    int count = 0;
    char text[256];
    for (int i = 0; fake_command(i, text, sizeof text); ++i)
      count += std::string(text) == "pt_step 1 1";
    return count;
  }

  FakePlayerDriver m_driver;
};

} // namespace

// One notification with a sentence and sensor values draws the speed, the
// compass, the graph, the event mark and the times.
TEST_F(TelemetryWindowTest, NotificationDrawsEveryTelemetryItem) {
  StartPlaying();
  Window().SetEventNotes({"Date : 2009/01/08 13:42:09"}, "134139");
  Frame(0, 30.5f);
  EXPECT_EQ(Window().GpsFields().SpeedKmh(), 39);
  EXPECT_EQ(Text(IDC_COURSE), "84");
  for (const QRect& rect : {TelemetryDisplay::kSpeedRect, TelemetryDisplay::kCompassRect, TelemetryDisplay::kGraphRect,
                            TelemetryDisplay::kTimelineRect})
    EXPECT_NE(CanvasPart(rect), BackgroundPart(rect)) << rect.x() << ", " << rect.y();
  EXPECT_EQ(Text(IDC_PLAYED_TIME), "00:30");
  EXPECT_EQ(Text(IDC_TOTAL_TIME), "01:00");
  EXPECT_EQ(Window().Display().Graph().Sample(), 1);
  EXPECT_EQ(Window().Display().Graph().LastPoint(SensorGraph::kX), QPoint(78, 712));
}

// Only the invalidated rectangles change: the rest of the window's picture
// stays as it was.
TEST_F(TelemetryWindowTest, NotificationLeavesTheRestOfTheCanvasAlone) {
  StartPlaying();
  const QImage before = Window().Canvas().copy();
  Frame(0, 1.0f);
  QImage after = Window().Canvas().copy();
  QImage beforeMasked = before;
  for (const QRect& rect : {TelemetryDisplay::kSpeedRect, TelemetryDisplay::kCompassRect, TelemetryDisplay::kGraphRect,
                            TelemetryDisplay::kTimelineRect}) {
    for (QImage* image : {&after, &beforeMasked}) {
      QPainter painter(image);
      painter.fillRect(rect, Qt::black);
    }
  }
  EXPECT_EQ(after, beforeMasked);
}

// Position equal to length: the last picture stays for the wait, the window
// keeps handling events but not a second end, then the recording stops and
// the graph panel and the timeline are cleared.
TEST_F(TelemetryWindowTest, EndOfRecordingStopsOnceAfterTheWait) {
  StartPlaying();
  constexpr int kWaitMs = 150;
  WindowThreadWait::SetScale(kWaitMs / 1000.0);
  Frame(0, 0.0f);
  bool timerRan = false;
  QTimer::singleShot(10, &Window(), [&] {
    timerRan = true;
    Notify(1800, 1800);
  });
  QElapsedTimer elapsed;
  elapsed.start();
  Notify(1800, 1800);
  EXPECT_TRUE(testing_support::waitUntil([&] { return !Window().IsWaiting(); }));
  EXPECT_GE(elapsed.elapsed(), 2 * kWaitMs);
  EXPECT_TRUE(timerRan) << "the window's thread kept running during the wait";
  EXPECT_FALSE(Window().IsRecordingOpen());
  EXPECT_EQ(StopCommands(), 1);
  EXPECT_EQ(Slider(IDC_POSITION_SLIDER)->GetPos(), 0);
  const QImage panel = Window().Skin().Decoration(1);
  EXPECT_EQ(Window().Canvas().copy(Window().Skin().CanvasSource(QRect(QPoint(75, 659), QSize(20, 20))).toRect()),
            panel.copy(QRect(QPoint(0, 0), QSize(20, 20) * panel.devicePixelRatio())));
  WindowThreadWait::SetScale(1.0);
}
