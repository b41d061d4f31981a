// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/WindowPrinter.h"

#include "OutputChecks.h"
#include "tests/support/ModalWatcher.h"

#include <QDir>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

const QColor kOutside(255, 0, 255);

// A window whose first 1010 x 790 pixels show the four quarters, anything
// beyond them magenta.
class QuarterWindow : public QWidget {
protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), kOutside);
    painter.drawImage(QPoint(0, 0), output_checks::quarters(WindowPrinter::kPictureSize.width(),
                                                            WindowPrinter::kPictureSize.height()));
  }
};

class WindowPrinting : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    printer.SetChooser([this](QPrinter& chosen) {
      ++dialogs;
      orientationAtDialog = chosen.pageLayout().orientation();
      chosen.setOutputFormat(QPrinter::PdfFormat);
      chosen.setOutputFileName(pdf);
      chosen.setPageOrientation(QPageLayout::Portrait);
      chosen.setPageMargins(QMarginsF(0, 0, 0, 0));
      return confirm;
    });
  }

  void showWindow(QSize size) {
    window.setFixedSize(size);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }

  // The PDF's pages as pictures, in page order.
  std::vector<QImage> pages() {
    const QString prefix = dir.filePath("page");
    output_checks::run("pdftoppm", {"-r", "30", "-png", pdf, prefix});
    std::vector<QImage> images;
    for (const QString& name : QDir(dir.path()).entryList({"page*.png"}, QDir::Files, QDir::Name))
      images.emplace_back(dir.filePath(name));
    return images;
  }

  QTemporaryDir dir;
  QString pdf = dir.filePath("window.pdf");
  QuarterWindow window;
  WindowPrinter printer;
  bool confirm = true;
  int dialogs = 0;
  QPageLayout::Orientation orientationAtDialog = QPageLayout::Portrait;
};

// One landscape page, filled by the window's first 1010 x 790 pixels,
// stretched without keeping the aspect ratio; a larger window prints only that part.
TEST_F(WindowPrinting, OneLandscapePageFilledByThePicture) {
  for (QSize size : {WindowPrinter::kPictureSize, QSize(1300, 1000)}) {
    showWindow(size);
    printer.Print(window);
    const std::vector<QImage> printed = pages();
    ASSERT_EQ(printed.size(), 1u) << "window " << size.width() << " x " << size.height();
    const QImage& page = printed[0];
    EXPECT_GT(page.width(), page.height());
    const int w = page.width();
    const int h = page.height();
    const struct {
      QPoint at;
      QColor colour;
    } probes[] = {{{1, 1}, output_checks::kTopLeft},
                  {{w - 2, 1}, output_checks::kTopRight},
                  {{1, h - 2}, output_checks::kBottomLeft},
                  {{w - 2, h - 2}, output_checks::kBottomRight},
                  {{w / 2 - 3, h / 2 - 3}, output_checks::kTopLeft},
                  {{w / 2 + 3, h / 2 + 3}, output_checks::kBottomRight}};
    for (const auto& probe : probes)
      EXPECT_TRUE(output_checks::near(page.pixelColor(probe.at), probe.colour))
          << probe.at.x() << "," << probe.at.y() << " is " << page.pixelColor(probe.at).name().toStdString();
    QFile::remove(pdf);
    QFile::remove(dir.filePath("page-1.png"));
  }
}

// Cancel prints nothing; each print asks again; the printer chosen last time
// comes back to the dialog with its own orientation, not the job's landscape.
TEST_F(WindowPrinting, CancelRepeatAndKeptPrinter) {
  showWindow(WindowPrinter::kPictureSize);
  confirm = false;
  printer.Print(window);
  EXPECT_FALSE(QFile::exists(pdf));
  confirm = true;
  printer.Print(window);
  ASSERT_TRUE(QFile::exists(pdf));
  QFile::remove(pdf);
  printer.Print(window);
  EXPECT_EQ(dialogs, 3);
  EXPECT_EQ(orientationAtDialog, QPageLayout::Portrait);
  EXPECT_EQ(pages().size(), 1u);
}

// A job the printer cannot start is reported, not lost in silence.
TEST_F(WindowPrinting, RefusedJobIsReported) {
  showWindow(WindowPrinter::kPictureSize);
  pdf = dir.filePath("missing-folder/window.pdf");
  ModalWatcher watcher;
  printer.Print(window);
  ASSERT_EQ(watcher.Messages().size(), 1);
  EXPECT_TRUE(watcher.Messages()[0].contains("nothing was printed"));
}

// Without a stand-in the real print dialog comes up; cancelled, it prints nothing.
TEST(WindowPrinter, RealDialogCancelled) {
  QuarterWindow window;
  WindowPrinter printer;
  ModalWatcher watcher;
  printer.Print(window);
  EXPECT_EQ(watcher.Dialogs().size(), 1);
  EXPECT_TRUE(watcher.Messages().isEmpty());
}

} // namespace
