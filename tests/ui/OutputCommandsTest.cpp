// SPDX-License-Identifier: GPL-3.0-or-later
// Snap, Print and the camera clock entry, reached from the window as a user
// reaches them, with the scripted fake player module showing a picture.
#include "FakePlayerDriver.h"
#include "MainWindowFixture.h"

#include "engine/PlaybackValues.h"
#include "engine/PlayerContract.h"
#include "output/FrameCapture.h"
#include "tests/fakeplayer/FakePlayerControl.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/ModalWatcher.h"

#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

namespace {

class OutputCommands : public MainWindowFixture {
protected:
  std::string LibraryName() const override { return "fakeplayer.dll"; }

  void SetUp() override {
    fake_reset();
    ASSERT_TRUE(folder.isValid());
    previousFolder = QDir::currentPath();
    QDir::setCurrent(folder.path());
    MainWindowFixture::SetUp();
    g_Playback.nPosUnitsPerSecond = kPosUnitsNotSet;
  }

  void TearDown() override {
    QDir::setCurrent(previousFolder);
    fake_release_entry();
    testing_support::waitUntil([] { return !fake_entry_running(); });
  }

  // Playing, with one frame report carrying a picture in two halves.
  void PlayPicture() {
    ASSERT_TRUE(driver.StartPlaying(Window()));
    Button(IDC_PLAY)->click();
    picture = QImage(FrameCapture::kWidth, FrameCapture::kHeight, QImage::Format_RGB32);
    picture.fill(QColor(10, 120, 230));
    QPainter(&picture).fillRect(0, 0, FrameCapture::kWidth, 100, QColor(250, 40, 0));
    report.width = FrameCapture::kWidth;
    report.height = FrameCapture::kHeight;
    report.bitsPerPixel = 32;
    report.frameBytes = int32_t(picture.sizeInBytes());
    report.frame1 = picture.constBits();
    report.frame2 = picture.constBits();
    ASSERT_TRUE(FakePlayerDriver::Fire(intptr_t(&report), player::kEventFrame));
  }

  QStringList Files(const QString& pattern) const { return QDir(folder.path()).entryList({pattern}, QDir::Files); }

  void PrintToPdf() {
    Window().Printer().SetChooser([this](QPrinter& printer) {
      ++printDialogs;
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(folder.filePath("window.pdf"));
      return true;
    });
  }

  QTemporaryDir folder;
  QString previousFolder;
  FakePlayerDriver driver;
  QImage picture;
  player::FrameReport report{};
  int printDialogs = 0;
};

// Nothing is saved or printed before a recording is open.
TEST_F(OutputCommands, SnapAndPrintWaitForARecording) {
  PrintToPdf();
  Button(IDC_SNAP)->click();
  Button(IDC_PRINT)->click();
  EXPECT_TRUE(Files("*").isEmpty());
  EXPECT_EQ(printDialogs, 0);
}

// The picture the player shows lands in the current folder as the BMP file.
TEST_F(OutputCommands, SnapSavesTheShownPicture) {
  PlayPicture();
  Button(IDC_SNAP)->click();
  const QStringList saved = Files("CAP*.bmp");
  ASSERT_EQ(saved.size(), 1);
  EXPECT_EQ(QFileInfo(folder.filePath(saved[0])).size(), 921654);
  EXPECT_EQ(QImage(folder.filePath(saved[0]), "bmp").convertToFormat(QImage::Format_RGB32), picture);
}

// The Print button prints the window to the chosen printer, here a PDF file.
TEST_F(OutputCommands, PrintWritesTheWindow) {
  PlayPicture();
  PrintToPdf();
  Button(IDC_PRINT)->click();
  EXPECT_EQ(printDialogs, 1);
  EXPECT_GT(QFileInfo(folder.filePath("window.pdf")).size(), 1000);
}

// The hidden Time button's dialog is offered in the background's menu.
TEST_F(OutputCommands, CameraClockFromTheMenu) {
  QAction* entry = nullptr;
  for (QAction* action : Window().SystemMenu()->actions())
    if (action->text() == QLatin1String("Set camera clock..."))
      entry = action;
  ASSERT_NE(entry, nullptr);
  ModalWatcher watcher;
  entry->trigger();
  EXPECT_EQ(watcher.Dialogs(), QStringList{"Time Set."});
}

} // namespace
