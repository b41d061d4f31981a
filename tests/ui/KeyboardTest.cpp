// SPDX-License-Identifier: GPL-3.0-or-later
// The window's keys, pressed where the focus is, observed as what reaches the
// scripted fake player module.
#include "FakePlayerDriver.h"
#include "FakePlayerWindowFixture.h"

#include "dialogs/CProgramInfo.h"
#include "engine/PlayerContract.h"
#include "library/FolderBrowser.h"
#include "tests/support/DiagnosticRecorder.h"
#include "tests/support/ModalWatcher.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <gmock/gmock.h>

namespace {

using testing::ElementsAre;
using testing_support::waitUntil;

struct KeyCase {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  const char* command;
};

// Each playback key and the one command text it sends while a recording plays.
const KeyCase kCommandKeys[] = {
    {Qt::Key_Space, Qt::NoModifier, "pause"},
    {Qt::Key_Left, Qt::NoModifier, "seek -5.00"},
    {Qt::Key_Right, Qt::NoModifier, "seek 5.00"},
    {Qt::Key_Left, Qt::ShiftModifier, "seek -1.00"},
    {Qt::Key_Right, Qt::ShiftModifier, "seek 1.00"},
    {Qt::Key_Comma, Qt::NoModifier, "frame_back_step"},
    {Qt::Key_BracketLeft, Qt::NoModifier, "speed_set 0.00 1"},
    {Qt::Key_BracketRight, Qt::NoModifier, "speed_set 1.00 1"},
    {Qt::Key_Up, Qt::NoModifier, "volume 110 2"},
    {Qt::Key_Down, Qt::NoModifier, "volume 100 2"},
};

// Notes that the folder browser was asked and cancels it.
class CountingBrowser : public FolderBrowser {
public:
  std::optional<QString> Browse(QWidget*, const QString&, const QString&) override {
    ++asked;
    return std::nullopt;
  }
  int asked = 0;
};

class KeyboardTest : public FakePlayerWindowFixture {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_folder.isValid());
    m_previousFolder = QDir::currentPath();
    QDir::setCurrent(m_folder.path());
    FakePlayerWindowFixture::SetUp();
    auto browser = std::make_unique<CountingBrowser>();
    m_browser = browser.get();
    Window().SetFolderBrowser(std::move(browser));
    Window().Printer().SetChooser([this](QPrinter&) {
      ++m_printDialogs;
      return false;
    });
  }

  void TearDown() override {
    FakePlayerWindowFixture::TearDown();
    QDir::setCurrent(m_previousFolder);
  }

  void StartPlaying() {
    ASSERT_TRUE(m_driver.StartPlaying(Window()));
    Button(IDC_PLAY)->click();
    SkipCommands();
  }

  // Pressed as the user presses it: to the widget that has the focus.
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : &Window(), key, modifiers);
    QCoreApplication::processEvents();
  }

  QTemporaryDir m_folder;
  QString m_previousFolder;
  FakePlayerDriver m_driver;
  CountingBrowser* m_browser = nullptr;
  int m_printDialogs = 0;
};

// A key bound to the wrong call, or lost to a focused button, shows here.
TEST_F(KeyboardTest, EachPlaybackKeySendsItsCommandWhereverTheFocusIs) {
  StartPlaying();
  for (ControlId focus : {IDC_PLAY, IDC_OPEN}) {
    Item(focus)->setFocus();
    for (const KeyCase& press : kCommandKeys) {
      Press(press.key, press.modifiers);
      EXPECT_THAT(NewCommands(), ElementsAre(press.command))
          << QKeySequence(press.key | press.modifiers).toString().toStdString();
    }
  }
}

// The period sends the frame step message, as the frame step button does.
TEST_F(KeyboardTest, PeriodStepsOneFrameThroughTheVideoWindow) {
  testing_support::MessageRecorder video;
  StartPlaying();
  ASSERT_TRUE(
      FakePlayerDriver::Fire(reinterpret_cast<intptr_t>(static_cast<QObject*>(&video)), player::kEventVideoWindow1));
  Press(Qt::Key_Period);
  EXPECT_EQ(video.messages(player::kMsgFrameStep).size(), 1u);
}

TEST_F(KeyboardTest, ControlKeysOpenSnapAndPrint) {
  ModalWatcher watcher;
  StartPlaying();
  Press(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(m_browser->asked, 1);
  Press(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(QDir(m_folder.path()).entryList({"CAP*.bmp"}, QDir::Files).size(), 1);
  Press(Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(m_printDialogs, 1);
}

// The list keeps its arrows for moving between lines; other keys still act.
TEST_F(KeyboardTest, FocusedListKeepsItsArrowKeys) {
  StartPlaying();
  auto* list = static_cast<QListWidget*>(Item(IDC_RECORDING_LIST));
  list->addItems({"a", "b"});
  list->setCurrentRow(0);
  list->setFocus();
  Press(Qt::Key_Down);
  Press(Qt::Key_Left);
  EXPECT_EQ(list->currentRow(), 1);
  Press(Qt::Key_Comma);
  EXPECT_THAT(NewCommands(), ElementsAre("frame_back_step"));
}

// Before any recording every key must leave the window running: the sliders'
// arithmetic has no rate yet and the player has nothing loaded.
TEST_F(KeyboardTest, EveryKeyIsSafeBeforeAnyRecording) {
  ModalWatcher watcher;
  ASSERT_TRUE(FakePlayerDriver::Fire(0, player::kEventReady));
  const testing_support::DiagnosticRecorder diagnostics;
  for (int round = 0; round < 2; ++round) {
    for (const KeyCase& press : kCommandKeys)
      Press(press.key, press.modifiers);
    for (Qt::Key key : {Qt::Key_Period, Qt::Key_O, Qt::Key_S, Qt::Key_P})
      Press(key, key == Qt::Key_Period ? Qt::NoModifier : Qt::ControlModifier);
  }
  EXPECT_TRUE(Window().isVisible());
  EXPECT_EQ(fake_entry_calls(), 0);
  EXPECT_EQ(static_cast<QLabel*>(Item(IDC_SPEED))->text(), QStringLiteral("x1"));
}

// The Info dialog lists every key the window answers to.
TEST_F(KeyboardTest, InfoDialogListsTheKeys) {
  QString listed;
  QTimer::singleShot(0, &Window(), [&] {
    auto* info = qobject_cast<CProgramInfo*>(QApplication::activeModalWidget());
    ASSERT_NE(info, nullptr);
    listed = info->findChild<QLabel*>(QString::number(CProgramInfo::IDC_KEYS))->text();
    info->accept();
  });
  Button(IDC_INFO)->click();
  for (const char* key :
       {"Space", "Left", "Shift+Right", ".", ",", "[", "]", "Up", "Ctrl+O", "Ctrl+S", "Ctrl+P", "Enter", "Esc"})
    EXPECT_TRUE(listed.contains(QStringLiteral("<td nowrap>%1&nbsp;").arg(QLatin1String(key)))) << key;
}

} // namespace
