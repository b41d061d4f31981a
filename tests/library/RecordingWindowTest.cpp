// SPDX-License-Identifier: GPL-3.0-or-later
// The recording library through the real window on the offscreen platform,
// with the scripted fake player module and a scripted folder browser.
#include "LibraryTestFiles.h"
#include "tests/ui/FakePlayerDriver.h"

#include "app/CQIRA02Dlg.h"
#include "app/SpeedLevel.h"
#include "app/WindowThreadWait.h"
#include "controls/CImageSlider.h"
#include "engine/PlaybackValues.h"
#include "engine/QIRAAdap.h"
#include "library/EventNoteReader.h"
#include "library/LibraryGlobals.h"
#include "library/RememberedFolder.h"
#include "platform/WindowMessage.h"
#include "tests/fakeplayer/FakePlayerControl.h"
#include "tests/support/BoxWriter.h"
#include "tests/support/DiagnosticRecorder.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/ModalWatcher.h"
#include "tests/support/StartedWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using library_test::native;
using library_test::readFile;
using library_test::writeFile;
using testing_support::waitUntil;

const QString kEventRecording = QStringLiteral("drf0_20260614_093200.mp4");
const QString kNormalRecording = QStringLiteral("drf0_20260614_093100.mp4");

// Answers each Browse with the next scripted answer and notes how it was asked.
class ScriptedBrowser : public FolderBrowser {
public:
  std::optional<QString> Browse(QWidget*, const QString& title, const QString& startFolder) override {
    titles << title;
    startFolders << startFolder;
    return answer;
  }

  std::optional<QString> answer;
  QStringList titles;
  QStringList startFolders;
};

class RecordingWindowTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_card.isValid() && m_config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    WindowThreadWait::SetScale(0.01);
    fake_reset();
    g_Playback.Reset();
    MakeRecording("EventMovie/" + kEventRecording);
    MakeRecording("NormalMovie/" + kNormalRecording);
    ASSERT_TRUE(writeFile(m_card.filePath("Event/evt_20260614_093200.txt"),
                          "Type : G-sensor\r\nDate : 2026/06/14 09:32:21\r\n"));
  }

  void TearDown() override {
    fake_release_entry();
    waitUntil([] { return !fake_entry_running(); });
  }

  void OpenWindow(const QString& startFolder = QString()) {
    const testing_support::DiagnosticRecorder diagnostics;
    m_window = std::make_unique<CQIRA02Dlg>(nullptr, "fakeplayer.dll");
    auto browser = std::make_unique<ScriptedBrowser>();
    m_browser = browser.get();
    m_window->SetFolderBrowser(std::move(browser));
    m_window->SetStartFolder(startFolder);
    ASSERT_TRUE(testing_support::showStartedWindow(*m_window));
    ASSERT_TRUE(FakePlayerDriver::Fire(0, player::kEventReady));
  }

  // A recording whose user data the engine accepts.
  void MakeRecording(const QString& relativePath) {
    QDir().mkpath(QFileInfo(m_card.filePath(relativePath)).absolutePath());
    testing_support::BoxWriter()
        .box("ftyp", {'i', 's', 'o', 'm', 0, 0, 2, 0})
        .box("moov", {})
        .raw(testing_support::BoxWriter::udat(300, {}))
        .writeTo(m_card.filePath(relativePath).toStdString());
  }

  QString Folder(const QString& name) const { return native(m_card.filePath(name)); }
  QListWidget* List() const { return static_cast<QListWidget*>(m_window->GetDlgItem(IDC_RECORDING_LIST)); }
  QString Label() const { return static_cast<QLabel*>(m_window->GetDlgItem(IDC_FOLDER_TEXT))->text(); }

  void Choose(std::optional<QString> folder) {
    m_browser->answer = std::move(folder);
    static_cast<QAbstractButton*>(m_window->GetDlgItem(IDC_OPEN))->click();
  }

  QPoint RowCentre(int row) {
    QCoreApplication::processEvents();
    return List()->visualItemRect(List()->item(row)).center();
  }

  void DoubleClick(int row) {
    // A double click is a click followed by the double-click event.
    const QPoint centre = RowCentre(row);
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, centre);
    EXPECT_TRUE(waitUntil([&] { return !m_window->IsWaiting(); }));
  }

  // Drags `urls` into the window and drops them, as the platform does.
  void Drop(const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPointF at(500, 300);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_window.get(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_window.get(), &drop);
    QCoreApplication::processEvents();
  }

  QUrl Url(const QString& name) const { return QUrl::fromLocalFile(m_card.filePath(name)); }

  std::string LoadedPath() const { return m_window->Adapter()->CurrentPaths().path1; }

  QTemporaryDir m_card;
  QTemporaryDir m_config;
  std::unique_ptr<CQIRA02Dlg> m_window;
  ScriptedBrowser* m_browser = nullptr;
};

TEST_F(RecordingWindowTest, FirstChoiceListsTheFolderAndRemembersIt) {
  OpenWindow();
  Choose(Folder("EventMovie"));
  EXPECT_EQ(m_browser->titles, QStringList("Select directory"));
  EXPECT_EQ(m_browser->startFolders, QStringList(QString()));
  ASSERT_EQ(List()->count(), 1);
  EXPECT_TRUE(List()->item(0)->text().startsWith(kEventRecording + " |  000"));
  EXPECT_TRUE(List()->item(0)->text().endsWith("KB  |   Event       "));
  EXPECT_EQ(Label(), Folder("EventMovie") + QDir::separator());
  EXPECT_EQ(readFile(RememberedFolder::FilePath()), QFile::encodeName(Folder("EventMovie")));

  Choose(Folder("NormalMovie"));
  EXPECT_EQ(m_browser->startFolders.last(), Folder("EventMovie"));
  Choose(Folder("NormalMovie"));
  ASSERT_EQ(List()->count(), 1);
  EXPECT_EQ(Label(), Folder("NormalMovie") + QDir::separator());
}

// Cancel tells the user and keeps the list and the remembered folder.
TEST_F(RecordingWindowTest, CancelShowsTheMessageAndChangesNothing) {
  OpenWindow();
  Choose(Folder("EventMovie"));
  QString shown;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown = box->text();
      box->accept();
    }
  });
  closer.start(20);
  Choose(std::nullopt);
  EXPECT_EQ(shown, QStringLiteral("No Select Directory"));
  EXPECT_EQ(List()->count(), 1);
  EXPECT_EQ(readFile(RememberedFolder::FilePath()), QFile::encodeName(Folder("EventMovie")));
}

TEST_F(RecordingWindowTest, UnwritableConfigurationStillListsTheFolder) {
  ASSERT_TRUE(writeFile(m_config.filePath("file"), "x"));
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.filePath("file/config")));
  OpenWindow();
  Choose(Folder("EventMovie"));
  EXPECT_EQ(List()->count(), 1);
}

// The folder given at start is listed and remembered as if browsed to.
TEST_F(RecordingWindowTest, StartFolderIsListedAndRemembered) {
  OpenWindow(Folder("EventMovie"));
  EXPECT_EQ(List()->count(), 1);
  EXPECT_EQ(Label(), Folder("EventMovie") + QDir::separator());
  EXPECT_EQ(RememberedFolder::Read(), Folder("EventMovie"));
}

// Speed, rate, open flag and GPS wait all start over; the notes are read.
TEST_F(RecordingWindowTest, DoubleClickOpensTheRecordingWithItsNotes) {
  OpenWindow(Folder("EventMovie"));
  g_Playback.fSpeedLevel = kFastestSpeedLevel;
  static_cast<QLabel*>(m_window->GetDlgItem(IDC_SPEED))->setText("x4");
  g_Playback.nPosUnitsPerSecond = 30;
  g_Playback.bGpsSyncWait = 1;
  DoubleClick(0);
  const QString path = Folder("EventMovie/" + kEventRecording);
  EXPECT_EQ(m_window->CurrentRecording(), path);
  EXPECT_EQ(LoadedPath(), QFile::encodeName(path).toStdString());
  EXPECT_TRUE(waitUntil([] { return fake_entry_running(); }));
  EXPECT_TRUE(m_window->IsRecordingOpen());
  EXPECT_EQ(g_Playback.fSpeedLevel, kNormalSpeedLevel);
  EXPECT_EQ(static_cast<QLabel*>(m_window->GetDlgItem(IDC_SPEED))->text(), "x1");
  EXPECT_EQ(g_Playback.nPosUnitsPerSecond.load(), kPosUnitsNotSet);
  EXPECT_EQ(g_Playback.bGpsSyncWait.load(), 0);
  EXPECT_TRUE(m_window->EventNotesPresent());
  EXPECT_EQ(m_window->EventNotes(), QStringList("Date : 2026/06/14 09:32:21"));
  EXPECT_STREQ(g_Playback.szEventTime, "093200");
}

// The notes are made into marks when the recording opens: the marks reach
// the canvas with the first frame and later frames copy nothing, however
// many notes the card holds.
TEST_F(RecordingWindowTest, FramesDrawTheMarksOncePerOpenWhateverTheNotes) {
  OpenWindow(Folder("EventMovie"));
  for (const int lines : {1, 5000}) {
    ASSERT_TRUE(writeFile(m_card.filePath("Event/evt_20260614_093200.txt"),
                          QByteArray("Date : 2026/06/14 09:32:21\r\n").repeated(lines)));
    DoubleClick(0);
    const float duration = 60.0f;
    m_window->Adapter()->HandleEvent(reinterpret_cast<intptr_t>(&duration), player::kEventDuration);
    const EventMarks& marks = m_window->Display().Marks();
    for (int frame = 0; frame < 20; ++frame) {
      platform::WindowMessageEvent notify(platform::kMsgPlayerNotify, 1800, frame);
      QCoreApplication::sendEvent(m_window.get(), &notify);
      EXPECT_EQ(marks.CopiedMarks(), std::min(lines, int(EventNoteReader::kMaxNotes)))
          << lines << " lines, frame " << frame;
    }
    const QPoint markAt = QPoint(21 * 11 + 33, 589) * m_window->Canvas().devicePixelRatio();
    EXPECT_EQ(m_window->Canvas().pixel(markAt), m_window->Skin().Mark(1).pixel(0, 0));
  }
}

TEST_F(RecordingWindowTest, NormalRecordingHasNoNotesAndASingleClickOpensNothing) {
  OpenWindow(Folder("NormalMovie"));
  QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, RowCentre(0));
  QCoreApplication::processEvents();
  EXPECT_EQ(fake_entry_calls(), 0);
  EXPECT_FALSE(m_window->IsRecordingOpen());
  DoubleClick(0);
  EXPECT_TRUE(waitUntil([] { return fake_entry_running(); }));
  EXPECT_FALSE(m_window->EventNotesPresent());
  EXPECT_TRUE(m_window->EventNotes().isEmpty());
}

// The engine gets the file's own bytes, whatever the name holds.
TEST_F(RecordingWindowTest, NamesWithSpacesQuotesAndNonAsciiLoadTheirFile) {
  const QString name = QStringLiteral("drf0_Käte's \"cam\" 50%.mp4");
  MakeRecording("NormalMovie/" + name);
  OpenWindow(Folder("NormalMovie"));
  ASSERT_EQ(List()->count(), 2);
  DoubleClick(1);
  EXPECT_EQ(LoadedPath(), QFile::encodeName(Folder("NormalMovie/" + name)).toStdString());
  EXPECT_TRUE(waitUntil([] { return fake_entry_running(); }));
}

// The label comes from the first line; a later line that shows its whole path
// must not be joined to it.
TEST_F(RecordingWindowTest, LineShowingItsWholePathOpensThatPath) {
  MakeRecording("NormalMovie/other.mp4");
  OpenWindow(Folder("NormalMovie"));
  ASSERT_EQ(List()->count(), 2);
  EXPECT_EQ(Label(), Folder("NormalMovie") + QDir::separator());
  DoubleClick(1);
  EXPECT_EQ(m_window->CurrentRecording(), Folder("NormalMovie/other.mp4"));
  EXPECT_TRUE(waitUntil([] { return fake_entry_running(); }));
}

// Enter opens the line like a double click and must not end the dialog.
TEST_F(RecordingWindowTest, EnterOnTheListOpensTheRecording) {
  OpenWindow(Folder("EventMovie"));
  List()->setFocus();
  List()->setCurrentRow(0);
  QTest::keyClick(List(), Qt::Key_Return);
  EXPECT_TRUE(waitUntil([] { return fake_entry_running(); }));
  EXPECT_TRUE(m_window->isVisible());
  EXPECT_EQ(m_window->result(), 0);
}

// A file deleted after the scan, or one that is no recording, is refused with
// its reason; the next double click still opens.
TEST_F(RecordingWindowTest, RefusedRecordingLeavesTheWindowUsable) {
  ASSERT_TRUE(writeFile(m_card.filePath("EventMovie/drf0_20260614_093000.mp4"), "not a recording"));
  MakeRecording("EventMovie/drf0_20260614_092900.mp4");
  OpenWindow(Folder("EventMovie"));
  ASSERT_EQ(List()->count(), 3);
  ASSERT_TRUE(QFile::remove(m_card.filePath("EventMovie/drf0_20260614_092900.mp4")));
  ModalWatcher watcher;
  const testing_support::DiagnosticRecorder diagnostics;
  DoubleClick(0);
  DoubleClick(1);
  EXPECT_EQ(fake_entry_calls(), 0);
  EXPECT_EQ(watcher.Messages(), QStringList({"drf0_20260614_092900.mp4 cannot be played: no longer on the card.",
                                             "drf0_20260614_093000.mp4 cannot be played: not a video."}));
  EXPECT_TRUE(m_window->isVisible());
  DoubleClick(2);
  EXPECT_TRUE(waitUntil([] { return fake_entry_running(); }));
}

// Opening clears the graph panel and the timeline to the skin and puts the
// position back to the start; the window keeps handling its events meanwhile.
TEST_F(RecordingWindowTest, OpeningClearsTheTelemetryAndKeepsTheWindowAlive) {
  OpenWindow(Folder("EventMovie"));
  const QImage clean = m_window->Canvas().copy();
  QPainter(&m_window->Canvas()).fillRect(QRect(0, 580, 700, 210), Qt::red);
  static_cast<CImageSlider*>(m_window->GetDlgItem(IDC_POSITION_SLIDER))->SetPos(50);
  bool timerRan = false;
  QTimer::singleShot(0, [&] { timerRan = true; });
  DoubleClick(0);
  EXPECT_TRUE(timerRan);
  EXPECT_EQ(static_cast<CImageSlider*>(m_window->GetDlgItem(IDC_POSITION_SLIDER))->GetPos(), 0);
  const qreal ratio = clean.devicePixelRatio();
  for (const QPoint& point : {QPoint(80, 700), QPoint(400, 760), QPoint(30, 600), QPoint(650, 605)}) {
    const QImage& skinPart = point.y() > 650 ? m_window->Skin().Decoration(1) : m_window->Skin().Decoration(2);
    const QPoint origin = point.y() > 650 ? QPoint(75, 659) : QPoint(19, 589);
    EXPECT_EQ(m_window->Canvas().pixel(point * ratio), skinPart.pixel((point - origin) * ratio))
        << point.x() << "," << point.y();
  }
  EXPECT_NE(m_window->Canvas().pixel(QPoint(5, 785) * ratio), clean.pixel(QPoint(5, 785) * ratio));
}

// A dropped folder is listed and remembered as if chosen in the browser.
TEST_F(RecordingWindowTest, DroppedFolderIsListedAndRemembered) {
  OpenWindow();
  Drop({Url("EventMovie")});
  EXPECT_EQ(List()->count(), 1);
  EXPECT_EQ(Label(), Folder("EventMovie") + QDir::separator());
  EXPECT_EQ(RememberedFolder::Read(), Folder("EventMovie"));
  EXPECT_EQ(fake_entry_calls(), 0);
}

// A dropped recording lists its own folder and opens from its line; the
// focus leaves the list.
TEST_F(RecordingWindowTest, DroppedRecordingOpensInItsFolder) {
  OpenWindow(Folder("EventMovie"));
  List()->setFocus();
  Drop({Url("NormalMovie/" + kNormalRecording)});
  EXPECT_TRUE(waitUntil([] { return fake_entry_running(); }));
  EXPECT_EQ(Label(), Folder("NormalMovie") + QDir::separator());
  EXPECT_EQ(List()->currentRow(), 0);
  EXPECT_TRUE(m_window->GetDlgItem(IDC_PLAY)->hasFocus()) << "the arrow keys must seek, not move in the list";
  EXPECT_EQ(m_window->CurrentRecording(), Folder("NormalMovie/" + kNormalRecording));
  EXPECT_EQ(RememberedFolder::Read(), Folder("NormalMovie"));
}

// Each unusable drop says why and leaves list, folder and player as they were.
TEST_F(RecordingWindowTest, UnusableDropsAreRefusedAndChangeNothing) {
  ASSERT_TRUE(writeFile(m_card.filePath("notes.txt"), "x"));
  const struct {
    QList<QUrl> urls;
    const char* says;
  } drops[] = {
      {{Url("EventMovie"), Url("NormalMovie")}, "one folder or one recording at a time"},
      {{Url("notes.txt")}, "neither a folder nor an MP4 recording"},
      {{Url("gone.mp4")}, "does not exist"},
      {{QUrl("https://example.org/drf0_1.mp4")}, "on this computer"},
  };
  OpenWindow(Folder("EventMovie"));
  ModalWatcher watcher;
  for (const auto& drop : drops) {
    const qsizetype shown = watcher.Messages().size();
    Drop(drop.urls);
    ASSERT_TRUE(waitUntil([&] { return watcher.Messages().size() > shown; })) << drop.says;
    EXPECT_TRUE(watcher.Messages().last().contains(QLatin1String(drop.says)))
        << watcher.Messages().last().toStdString();
    EXPECT_EQ(Label(), Folder("EventMovie") + QDir::separator());
    EXPECT_EQ(RememberedFolder::Read(), Folder("EventMovie"));
  }
  EXPECT_EQ(fake_entry_calls(), 0);
}

} // namespace
