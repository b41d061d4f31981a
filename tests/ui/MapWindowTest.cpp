// SPDX-License-Identifier: GPL-3.0-or-later
// The map in the main window: a recording made by our own tool, opened and
// played through the scripted fake player, draws its track and moves the
// marker along it.
#include "FakePlayerDriver.h"
#include "FakePlayerWindowFixture.h"
#include "engine/PlaybackValues.h"
#include "engine/QIRAAdap.h"
#include "engine/QIRAState.h"
#include "engine/QIRAstat1.h"
#include "engine/QIRAstat9.h"
#include "telemetry/RmcFields.h"
#include "telemetry/UserDataFile.h"
#include "tests/fakeplayer/FakePlayerControl.h"
#include "tests/support/BuiltProgram.h"
#include "tests/support/MessageRecorder.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <cmath>

namespace {

using testing_support::waitUntil;

constexpr int kTimeoutMs = 60000;
constexpr int kFps = 5;
constexpr int kSeconds = 40;
// Notifications come with every third frame report; the marker moves on every
// sixth notification at normal speed.
constexpr int kFramesPerMove = 3 * 6;

class MapWindowTest : public FakePlayerWindowFixture {
protected:
  void SetUp() override {
    FakePlayerWindowFixture::SetUp();
    QSignalSpy bound(&Window().Map(), &CMapView::documentBound);
    ASSERT_TRUE(bound.wait(kTimeoutMs)) << "the map's page loads after the first paint";
  }

  std::string MakeRecording() {
    const QString path = m_dir.filePath(QStringLiteral("drf0_20260614_093200.mp4"));
    EXPECT_TRUE(testing_support::runBuiltProgram(QStringLiteral("make-sample-card"),
                                                 {QStringLiteral("--recording"), path, QStringLiteral("--width"),
                                                  QStringLiteral("64"), QStringLiteral("--height"),
                                                  QStringLiteral("48"), QStringLiteral("--fps"), QString::number(kFps),
                                                  QStringLiteral("--seconds"), QString::number(kSeconds)})
                    .has_value());
    return path.toStdString();
  }

  // Opened as the recording list opens one, then playing.
  void OpenAndPlay(const std::string& recording) {
    ASSERT_TRUE(FakePlayerDriver::Fire(0, player::kEventReady));
    QIRAAdap* engine = Window().Adapter();
    engine->SetState(engine->StateNumbered(9));
    ASSERT_EQ(engine->CurrentState()->LoadFile(recording.c_str(), recording.c_str()), 0);
    ASSERT_TRUE(waitUntil([] { return fake_entry_running(); }));
    Window().ShowRecordingTrack(recording, {kSeconds / 2});
    ASSERT_TRUE(FakePlayerDriver::Fire(0, player::kEventPlaying));
    Button(IDC_PLAY)->click();
    static player::StreamInfo info{};
    static player::StreamRecord record{};
    info.length = kFps * kSeconds;
    record.info = &info;
    ASSERT_TRUE(FakePlayerDriver::Fire(reinterpret_cast<intptr_t>(&record), player::kEventLength));
    g_Playback.nPosUnitsPerSecond = kFps;
  }

  // Frame reports at `position` until the marker has moved there.
  void PlayAt(uint32_t position) {
    static player::FrameReport frame{};
    ASSERT_TRUE(FakePlayerDriver::Fire(position, player::kEventPosition));
    for (int n = 0; n < kFramesPerMove; ++n)
      ASSERT_TRUE(FakePlayerDriver::Fire(reinterpret_cast<intptr_t>(&frame), player::kEventFrame));
  }

  QVariant Evaluate(const QString& expression) {
    QVariant result;
    bool done = false;
    qobject_cast<QWebEngineView*>(Window().Map().Browser())
        ->page()
        ->runJavaScript(expression, [&](const QVariant& value) {
          result = value;
          done = true;
        });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, kTimeoutMs)) << expression.toStdString();
    return result;
  }

  QTemporaryDir m_dir;
};

} // namespace

TEST_F(MapWindowTest, PlayingMovesTheMarkerAlongTheDrawnTrack) {
  const std::string recording = MakeRecording();
  OpenAndPlay(recording);
  EXPECT_GE(Evaluate("trackLayer.getLayers().length").toInt(), 2) << "a line coloured by speed";
  EXPECT_EQ(Evaluate("eventLayer.getLayers().length").toInt(), 2) << "the camera's event and the hard brake's pin";

  UserDataFile telemetry;
  ASSERT_EQ(telemetry.Load(recording), 0);
  telemetry.SetPositionCount(0);
  for (const uint32_t position : {kFps * 10u, kFps * 30u}) {
    PlayAt(position);
    RmcFields fields;
    ASSERT_TRUE(fields.ParseSentence(reinterpret_cast<const char*>(telemetry.GpsRecord(position)),
                                     UserDataFile::kGpsRecordBytes));
    // The window may take the last notification after the frame reports return.
    waitUntil([&] { return std::abs(Evaluate("marker.getLatLng().lat").toDouble() - fields.Latitude()) < 1e-6; },
              kTimeoutMs);
    EXPECT_NEAR(Evaluate("marker.getLatLng().lat").toDouble(), fields.Latitude(), 1e-6) << position;
    EXPECT_NEAR(Evaluate("marker.getLatLng().lng").toDouble(), fields.Longitude(), 1e-6) << position;
    EXPECT_TRUE(Evaluate("map.getBounds().contains(marker.getLatLng())").toBool());
  }
}

// The map area on the window's picture, for a person to look at.
TEST_F(MapWindowTest, MapAreaScreenshot) {
  OpenAndPlay(MakeRecording());
  PlayAt(kFps * 12);
  // The page has drawn the moved marker once a second animation frame begins.
  Evaluate("framesDrawn = 0; requestAnimationFrame(() => requestAnimationFrame(() => framesDrawn = 2)); true");
  ASSERT_TRUE(waitUntil([&] { return Evaluate("framesDrawn").toInt() == 2; }, kTimeoutMs));
  const QImage picture = Window().grab(CMapView::kMapRect).toImage();
  EXPECT_GT(picture.width(), 0);
  const QString folder = QStringLiteral(LUMENARK_SCREENSHOT_DIR);
  if (QDir().mkpath(folder))
    picture.save(QDir(folder).filePath(QStringLiteral("map-area.png")));
}
