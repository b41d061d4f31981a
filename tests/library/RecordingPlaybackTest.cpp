// SPDX-License-Identifier: GPL-3.0-or-later
// A user's first minute: the window lists a card's event recordings, a double
// click plays one through the real player module.
#include "app/CQIRA02Dlg.h"
#include "controls/CImageSlider.h"
#include "engine/QIRAAdap.h"
#include "engine/QIRAState.h"
#include "tests/support/BuiltProgram.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/StartedWindow.h"

#include <QDir>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <string>

namespace {

using testing_support::waitUntil;

constexpr int kPlayTimeoutMs = 60000;

// A card as the camera leaves it, with one short event recording.
bool makeCard(const QString& folder) {
  return testing_support::runBuiltProgram(QStringLiteral("make-sample-card"),
                                          {QStringLiteral("--card"), folder, QStringLiteral("--normal"),
                                           QStringLiteral("1"), QStringLiteral("--event"), QStringLiteral("1"),
                                           QStringLiteral("--seconds"), QStringLiteral("4"), QStringLiteral("--width"),
                                           QStringLiteral("320"), QStringLiteral("--height"), QStringLiteral("240")})
      .has_value();
}

TEST(RecordingPlayback, DoubleClickedEventRecordingPlays) {
  QTemporaryDir card;
  QTemporaryDir config;
  ASSERT_TRUE(card.isValid() && config.isValid() && makeCard(card.path()));
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
  CQIRA02Dlg window;
  window.SetStartFolder(QDir::toNativeSeparators(card.filePath("EventMovie")));
  ASSERT_TRUE(testing_support::showStartedWindow(window));
  auto* list = static_cast<QListWidget*>(window.GetDlgItem(IDC_RECORDING_LIST));
  ASSERT_EQ(list->count(), 1);
  QCoreApplication::processEvents();
  const QPoint line = list->visualItemRect(list->item(0)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line);

  QIRAAdap* engine = window.Adapter();
  auto* position = static_cast<CImageSlider*>(window.GetDlgItem(IDC_POSITION_SLIDER));
  const auto playing = [engine] { return engine->CurrentState()->StateNumber() == 1; };
  EXPECT_TRUE(waitUntil(playing, kPlayTimeoutMs));
  EXPECT_TRUE(waitUntil([&] { return position->GetPos() > 0; }, kPlayTimeoutMs));
  EXPECT_TRUE(window.IsRecordingOpen());
  EXPECT_TRUE(window.EventNotesPresent());

  // The window does not own the engine: end the player before the window goes.
  if (playing()) {
    engine->CurrentState()->ClosePlayer();
    waitUntil([&] { return engine->CurrentState()->StateNumber() == 0; }, kPlayTimeoutMs);
  }
}

} // namespace
