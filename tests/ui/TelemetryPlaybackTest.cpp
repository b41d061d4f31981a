// SPDX-License-Identifier: GPL-3.0-or-later
// A sample-card recording played through the real player module in the
// window: the telemetry reaches the window's picture as the recording plays.
#include "app/CQIRA02Dlg.h"
#include "controls/CImageSlider.h"
#include "engine/PlaybackValues.h"
#include "engine/QIRAAdap.h"
#include "engine/QIRAState.h"
#include "engine/QIRAstat9.h"
#include "tests/player/EngineHarness.h"
#include "tests/player/TestRecording.h"
#include "tests/support/StartedWindow.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

QImage part(const QImage& image, const QRect& rect) {
  const qreal ratio = image.devicePixelRatio();
  return image.copy(QRect(rect.topLeft() * ratio, rect.size() * ratio));
}

int seconds(const QString& time) {
  const QStringList parts = time.split(':');
  return parts.size() == 2 ? parts[0].toInt() * 60 + parts[1].toInt() : -1;
}

} // namespace

TEST(TelemetryPlayback, SpeedCompassGraphAndTimeMoveWithTheRecording) {
  QTemporaryDir dir;
  const std::string recording = dir.filePath(QStringLiteral("drf0_20090108_134109.mp4")).toStdString();
  TestRecording::Options options;
  options.seconds = 10;
  ASSERT_TRUE(TestRecording::make(options, recording));

  // The engine and its threads outlive the window by design: the window stays
  // until the process ends.
  auto* window = new CQIRA02Dlg(nullptr, "mplayer.dll");
  ASSERT_TRUE(testing_support::showStartedWindow(*window));
  const QImage emptySkin = window->grab().toImage();
  static_cast<QAbstractButton*>(window->GetDlgItem(IDC_PLAY))
      ->click(); // nothing to play yet: opens the window's display
  // Opened with the values the recording list's double click leaves: a frame
  // report before the rate is known must not start a GPS wait.
  g_Playback.nPosUnitsPerSecond = kPosUnitsNotSet;
  g_Playback.bGpsSyncWait = 0;
  QIRAAdap* engine = window->Adapter();
  engine->SetState(engine->StateNumbered(9));
  ASSERT_EQ(engine->CurrentState()->LoadFile(recording.c_str(), recording.c_str()), 0);

  // The first sentences may show a standing car: wait for the picture to move.
  auto* played = static_cast<QLabel*>(window->GetDlgItem(IDC_PLAYED_TIME));
  ASSERT_TRUE(EngineHarness::waitFor([&] { return seconds(played->text()) >= 1; }, 60s)) << "no played time shown";
  const int firstSeconds = seconds(played->text());
  const auto telemetryShown = [&] {
    const QImage shown = window->grab().toImage();
    for (const QRect& rect :
         {TelemetryDisplay::kSpeedRect, TelemetryDisplay::kCompassRect, TelemetryDisplay::kGraphRect})
      if (part(shown, rect) == part(emptySkin, rect))
        return false;
    return true;
  };
  EXPECT_TRUE(EngineHarness::waitFor(telemetryShown, 60s))
      << "speed, compass or graph never left the empty skin; GPS wait " << g_Playback.bGpsSyncWait << " since "
      << g_Playback.nGpsSyncIndex << ", position " << engine->Position() << " of " << engine->Length();
  EXPECT_TRUE(EngineHarness::waitFor([&] { return seconds(played->text()) > firstSeconds; }, 60s))
      << "the played time stays";
  EXPECT_EQ(static_cast<QLabel*>(window->GetDlgItem(IDC_TOTAL_TIME))->text(), "00:10");
  EXPECT_GT(static_cast<CImageSlider*>(window->GetDlgItem(IDC_POSITION_SLIDER))->GetPos(), 0);

  // End the player's threads before the process ends; the window stays.
  if (player::StopFlag* flag = engine->SoftKillFlag())
    flag->store(1);
  EXPECT_TRUE(EngineHarness::waitFor([&] { return !engine->IsPlayerThreadRunning(); }, 20s));
  window->hide();
}
