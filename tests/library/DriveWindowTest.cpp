// SPDX-License-Identifier: GPL-3.0-or-later
// A card's drive played in the real window with the real player module: a
// recording that ends plays on into the next of its drive, the last of the
// drive ends as any recording ends, the card overview's pick opens a
// recording at its second, and a marked stretch is saved as a clip.
#include "LibraryTestFiles.h"

#include "app/CQIRA02Dlg.h"
#include "app/SettingsFile.h"
#include "app/WindowThreadWait.h"
#include "controls/CImageSlider.h"
#include "engine/PlaybackValues.h"
#include "engine/QIRAAdap.h"
#include "engine/QIRAState.h"
#include "overview/CardOverview.h"
#include "tests/support/BuiltProgram.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/StartedWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

using library_test::native;
using testing_support::waitUntil;

constexpr int kPlayTimeoutMs = 30000;

class DriveWindowTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_card.isValid() && m_config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    WindowThreadWait::SetScale(0.2);
    // One drive of two back-to-back recordings, and a later drive.
    for (const auto& [name, start] : {std::pair{"drf0_20260614_093200.mp4", "20260614_093200"},
                                      std::pair{"drf0_20260614_093203.mp4", "20260614_093203"},
                                      std::pair{"drf0_20260614_100000.mp4", "20260614_100000"}})
      ASSERT_TRUE(testing_support::runBuiltProgram(
          "make-sample-card", QStringList{"--recording", Path(name), "--start", start} +
                                  QStringLiteral("--width 320 --height 240 --seconds 3").split(' ')));
    m_window = std::make_unique<CQIRA02Dlg>();
    m_window->SetStartFolder(native(m_card.path()));
    ASSERT_TRUE(testing_support::showStartedWindow(*m_window));
  }

  // The window ends its player as it goes.
  void TearDown() override { WindowThreadWait::SetScale(1.0); }

  QString Path(const QString& name) const { return m_card.filePath(name); }
  QListWidget* List() const { return static_cast<QListWidget*>(m_window->GetDlgItem(IDC_RECORDING_LIST)); }
  void DoubleClick(const QString& name) {
    const int row = int(m_window->Recordings().Recordings().indexOf(native(Path(name))));
    const QPoint line = List()->visualItemRect(List()->item(row)).center();
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, line);
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, line);
  }
  bool Playing(const QString& name) const {
    const QIRAAdap* engine = m_window->Adapter();
    return m_window->CurrentRecording() == native(Path(name)) && engine->CurrentState() == engine->StateNumbered(1) &&
           engine->Position() > 0;
  }

  QTemporaryDir m_card;
  QTemporaryDir m_config;
  std::unique_ptr<CQIRA02Dlg> m_window;
};

// Guards against the panels clearing at every minute's cut, the speed level
// falling back to x1 there, and the next drive starting without a click.
TEST_F(DriveWindowTest, ADrivePlaysOnAndItsLastRecordingEnds) {
  DoubleClick("drf0_20260614_093200.mp4");
  ASSERT_TRUE(waitUntil([&] { return Playing("drf0_20260614_093200.mp4"); }, kPlayTimeoutMs));
  static_cast<QAbstractButton*>(m_window->GetDlgItem(IDC_FASTER))->click();
  ASSERT_EQ(g_Playback.fSpeedLevel, 2.0f);
  ASSERT_TRUE(waitUntil([&] { return Playing("drf0_20260614_093203.mp4"); }, kPlayTimeoutMs)) << "no play on";
  EXPECT_EQ(List()->currentItem()->text(), List()->item(1)->text()) << "the selection follows";
  EXPECT_TRUE(waitUntil([] { return g_Playback.fSpeedLevel == 2.0f; }));
  ASSERT_TRUE(waitUntil([&] { return !m_window->IsRecordingOpen(); }, kPlayTimeoutMs)) << "the drive ends";
  QTest::qWait(500);
  EXPECT_EQ(m_window->CurrentRecording(), native(Path("drf0_20260614_093203.mp4")));
}

// A pick in the overview (its track or a pin) lands on that moment.
TEST_F(DriveWindowTest, OverviewPickOpensTheRecordingAtItsSecond) {
  QTest::keyClick(m_window.get(), Qt::Key_D, Qt::ControlModifier);
  auto* overview = m_window->findChild<CardOverview*>();
  ASSERT_TRUE(overview);
  emit overview->recordingPicked(native(Path("drf0_20260614_100000.mp4")), 2);
  ASSERT_TRUE(waitUntil([&] { return Playing("drf0_20260614_100000.mp4"); }, kPlayTimeoutMs));
  EXPECT_TRUE(waitUntil([&] { return m_window->Adapter()->PlayTime() >= 2.0f; }, 1500)) << "not sought to 2 s";
}

// The marks set by I and O, saved with Ctrl+E into the remembered folder:
// the clip holds the stretch and telemetry the telemetry command reads.
TEST_F(DriveWindowTest, MarkedStretchIsSavedAsAClipWithItsTelemetry) {
  QTemporaryDir clips;
  QSettings(SettingsFile::Path(), QSettings::IniFormat).setValue("clipFolder", clips.path());
  DoubleClick("drf0_20260614_100000.mp4");
  ASSERT_TRUE(waitUntil([&] { return Playing("drf0_20260614_100000.mp4"); }, kPlayTimeoutMs));
  QTest::keyClick(m_window.get(), Qt::Key_I);
  ASSERT_TRUE(waitUntil([&] { return m_window->Adapter()->PlayTime() >= 1.5f; }));
  QTest::keyClick(m_window.get(), Qt::Key_O);
  QStringList told;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
      told << box->text();
      box->done(QMessageBox::Ok);
    } else if (dialog) {
      dialog->accept();
    }
  });
  answer.start(5);
  QTest::keyClick(m_window.get(), Qt::Key_E, Qt::ControlModifier);
  const QStringList saved = QDir(clips.path()).entryList({"*.mp4"});
  ASSERT_EQ(saved.size(), 1) << told.join('\n').toStdString();
  EXPECT_TRUE(saved.first().startsWith("drf0_20260614_100000_")) << saved.first().toStdString();
  const std::optional<QByteArray> check = testing_support::runBuiltProgram(
      "lumenark-telemetry", {"export", clips.filePath(saved.first()), "--format", "csv"});
  ASSERT_TRUE(check.has_value()) << "its telemetry is readable";
  EXPECT_GE(check->count('\n'), 2);
}

} // namespace
