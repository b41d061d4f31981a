// SPDX-License-Identifier: GPL-3.0-or-later
// The awkward files real cards hold, double-clicked in the real window with
// the real player module: each line plays its own file or says why it cannot,
// every end of a recording is an end, and clicks never pile up behind the waits.
#include "LibraryTestFiles.h"

#include "app/CQIRA02Dlg.h"
#include "app/WindowThreadWait.h"
#include "engine/QIRAAdap.h"
#include "engine/QIRAState.h"
#include "tests/player/TestRecording.h"
#include "tests/support/BuiltProgram.h"
#include "tests/support/DiagnosticRecorder.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/ModalWatcher.h"
#include "tests/support/StartedWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

using library_test::native;
using library_test::writeFile;
using testing_support::waitUntil;

constexpr int kPlayTimeoutMs = 30000;

bool makeRecording(const QString& path, int seconds, const QStringList& extra = {}) {
  const QStringList small = QStringLiteral("--width 320 --height 240 --seconds").split(' ');
  return testing_support::runBuiltProgram("make-sample-card", QStringList{"--recording", path} + small +
                                                                  QStringList{QString::number(seconds)} + extra)
      .has_value();
}

class RecordingFaultsTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_card.isValid() && m_config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    WindowThreadWait::SetScale(0.2);
  }

  // The window ends its player as it goes.
  void TearDown() override { WindowThreadWait::SetScale(1.0); }

  QString Path(const QString& name) const { return m_card.filePath(name); }

  void OpenWindow() {
    m_window = std::make_unique<CQIRA02Dlg>();
    m_window->SetStartFolder(native(m_card.path()));
    ASSERT_TRUE(testing_support::showStartedWindow(*m_window));
  }

  QListWidget* List() const { return static_cast<QListWidget*>(m_window->GetDlgItem(IDC_RECORDING_LIST)); }

  // A user's double click; returns once the open it started is over.
  void DoubleClick(int row) {
    Click(row);
    EXPECT_TRUE(waitUntil([&] { return !m_window->IsWaiting(); }, kPlayTimeoutMs));
  }
  void Click(int row) {
    const QPoint line = List()->visualItemRect(List()->item(row)).center();
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, line);
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, line);
  }

  int Row(const QString& name) const {
    const QStringList& paths = m_window->Recordings().Recordings();
    return int(paths.indexOf(native(Path(name))));
  }

  int StateNumber() const { return m_window->Adapter()->CurrentState()->StateNumber(); }
  bool Playing() const { return StateNumber() == 1 && m_window->Adapter()->Position() > 0; }

  QTemporaryDir m_card;
  QTemporaryDir m_config;
  std::unique_ptr<CQIRA02Dlg> m_window;
};

// Guards against opening label + name (a renamed file, a prefix before the
// camera's mark), against refusing a video without telemetry, and against
// recordings that cannot play failing in silence or stopping what plays.
TEST_F(RecordingFaultsTest, EveryLineOpensItsOwnFileOrSaysWhyItCannot) {
  ASSERT_TRUE(makeRecording(Path("drf0_20260614_093200.mp4"), 3));
  ASSERT_TRUE(QFile::copy(Path("drf0_20260614_093200.mp4"), Path("Autobahn Unfall.mp4")));
  ASSERT_TRUE(QFile::copy(Path("drf0_20260614_093200.mp4"), Path("日本 drf0_20260614_093301.mp4")));
  ASSERT_TRUE(makeRecording(Path("drf0_20260614_093400.mp4"), 3, {"--fault", "no-udat"}));
  ASSERT_TRUE(QFile::copy(Path("drf0_20260614_093200.mp4"), Path("drf0_20260614_093500.mp4")));
  ASSERT_TRUE(
      QFile::resize(Path("drf0_20260614_093500.mp4"), QFileInfo(Path("drf0_20260614_093200.mp4")).size() * 7 / 10));
  ASSERT_TRUE(writeFile(Path("drf0_20260614_093600.mp4"), {}));
  ASSERT_TRUE(writeFile(Path("drf0_20260614_093700.mp4"), "Fahrtenbuch\nMontag: 42 km\n"));
  ASSERT_TRUE(writeFile(Path("drf0_20260614_093800.mp4"), "gone soon"));
  OpenWindow();
  ASSERT_TRUE(QFile::remove(Path("drf0_20260614_093800.mp4")));

  struct Case {
    const char* name;
    const char* reason; // empty: it plays
    bool telemetry;
  };
  const Case cases[] = {
      {"Autobahn Unfall.mp4", "", true},
      {"drf0_20260614_093200.mp4", "", true},
      // Offered for repair; the watcher declines.
      {"drf0_20260614_093500.mp4", " was cut short, probably by a power loss: its index is missing.", false},
      {"日本 drf0_20260614_093301.mp4", "", true},
      {"drf0_20260614_093600.mp4", "empty", false},
      {"drf0_20260614_093400.mp4", "", false},
      {"drf0_20260614_093700.mp4", "not a video", false},
      {"drf0_20260614_093800.mp4", "no longer on the card", false},
  };
  ModalWatcher watcher;
  int reasons = 0;
  for (const Case& c : cases) {
    const QString name = QString::fromUtf8(c.name);
    const QString before = m_window->CurrentRecording();
    DoubleClick(Row(name));
    if (*c.reason) {
      ASSERT_TRUE(waitUntil([&] { return watcher.Messages().size() > reasons; }, kPlayTimeoutMs)) << c.name;
      const QString reason = QString::fromUtf8(c.reason);
      const QString expected =
          reason.startsWith(' ') ? name + reason : QStringLiteral("%1 cannot be played: %2.").arg(name, reason);
      EXPECT_TRUE(watcher.Messages().at(reasons++).startsWith(expected)) << watcher.Messages().last().toStdString();
      EXPECT_EQ(m_window->CurrentRecording(), before) << c.name << ": what played goes on";
      EXPECT_EQ(StateNumber(), 1) << c.name;
      continue;
    }
    EXPECT_EQ(m_window->CurrentRecording(), native(Path(name)));
    EXPECT_TRUE(waitUntil([&] { return Playing(); }, kPlayTimeoutMs)) << c.name;
    EXPECT_EQ(!m_window->Adapter()->UserDataFailed(), c.telemetry) << c.name;
    const QImage speed = m_window->Canvas().copy(587, 698, 15, 22);
    EXPECT_EQ(speed == m_window->Skin().DigitDash().copy(0, 0, 15, 22), !c.telemetry) << c.name;
  }
  EXPECT_EQ(watcher.Messages().size(), reasons) << watcher.Messages().join('\n').toStdString();
}

// Guards against a picture frozen at an early end of file (media data cut
// short) and at a seek past the end, which also claimed a cut.
TEST_F(RecordingFaultsTest, AnEndIsAnEndWhereverItComes) {
  ASSERT_TRUE(makeRecording(Path("drf0_20260614_093200.mp4"), 4));
  ASSERT_TRUE(QFile::copy(Path("drf0_20260614_093200.mp4"), Path("drf0_20260614_093300.mp4")));
  ASSERT_TRUE(TestRecording::cutShort(Path("drf0_20260614_093300.mp4").toStdString(), 0.4));
  OpenWindow();
  testing_support::DiagnosticRecorder diagnostics;

  DoubleClick(Row("drf0_20260614_093300.mp4"));
  ASSERT_TRUE(waitUntil([&] { return Playing(); }, kPlayTimeoutMs));
  EXPECT_TRUE(waitUntil([&] { return !m_window->IsRecordingOpen(); }, kPlayTimeoutMs)) << "the cut ends it";
  EXPECT_NE(diagnostics.text().find("the recording is cut short"), std::string::npos);

  DoubleClick(Row("drf0_20260614_093200.mp4"));
  ASSERT_TRUE(waitUntil([&] { return Playing(); }, kPlayTimeoutMs));
  const size_t before = diagnostics.text().size();
  for (int press = 0; press < 4; ++press)
    QTest::keyClick(m_window.get(), Qt::Key_Right);
  EXPECT_TRUE(waitUntil([&] { return !m_window->IsRecordingOpen(); }, kPlayTimeoutMs)) << "a seek past the end";
  EXPECT_EQ(diagnostics.text().find("cut short", before), std::string::npos) << diagnostics.text();
}

// Guards against double clicks met during an open's waits each running an
// open of its own afterwards, and an Esc whose close waits behind them.
TEST_F(RecordingFaultsTest, TheLatestDoubleClickWinsAndEscClosesAtOnce) {
  WindowThreadWait::SetScale(1.0);
  for (const char* name : {"drf0_20260614_093200.mp4", "drf0_20260614_093300.mp4"})
    ASSERT_TRUE(makeRecording(Path(name), 3));
  OpenWindow();
  testing_support::DiagnosticRecorder diagnostics;
  int clicks = 0;
  QTimer clicker;
  QObject::connect(&clicker, &QTimer::timeout, [&] {
    Click(++clicks % 2);
    if (clicks == 11)
      clicker.stop();
  });
  clicker.start(120);
  DoubleClick(0); // returns once the opens it started are over
  EXPECT_EQ(clicks, 11);
  EXPECT_EQ(m_window->CurrentRecording(), native(Path("drf0_20260614_093300.mp4")));
  const std::string text = diagnostics.text();
  size_t loads = 0;
  for (size_t at = text.find(" to 9\n"); at != std::string::npos; at = text.find(" to 9\n", at + 1))
    ++loads;
  EXPECT_LE(loads, 2u) << text;
  EXPECT_TRUE(waitUntil([&] { return Playing(); }, kPlayTimeoutMs));

  QElapsedTimer sinceEsc;
  QTimer::singleShot(300, [&] {
    sinceEsc.start();
    QTest::keyClick(List(), Qt::Key_Escape);
  });
  DoubleClick(0);
  EXPECT_FALSE(m_window->isVisible());
  EXPECT_LT(sinceEsc.elapsed(), 200) << "the open went on after Esc";
}

// Guards against a recording cut short by a power loss being only refused:
// agreed to, the repair writes a new recording beside it, which is listed
// and plays, while the cut one stays as it was.
TEST_F(RecordingFaultsTest, ACutRecordingIsRepairedWhenTheUserAgrees) {
  ASSERT_TRUE(makeRecording(Path("drf0_20260614_093200.mp4"), 3));
  ASSERT_TRUE(makeRecording(Path("drf0_20260614_093300.mp4"), 3, {"--fault", "power-cut"}));
  const QByteArray cut = library_test::readFile(Path("drf0_20260614_093300.mp4"));
  OpenWindow();
  QTimer agree;
  QObject::connect(&agree, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
      box->done(QMessageBox::Yes);
  });
  agree.start(5);
  DoubleClick(Row("drf0_20260614_093300.mp4"));
  const QString repaired = native(Path("drf0_20260614_093300_repaired.mp4"));
  EXPECT_TRUE(waitUntil([&] { return m_window->CurrentRecording() == repaired && Playing(); }, kPlayTimeoutMs));
  EXPECT_TRUE(m_window->Recordings().Recordings().contains(repaired));
  EXPECT_EQ(library_test::readFile(Path("drf0_20260614_093300.mp4")), cut);
}

} // namespace
