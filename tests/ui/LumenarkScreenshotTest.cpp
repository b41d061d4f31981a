// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the real program on a private X server and checks what a user sees.
#include "XvfbSession.h"
#include "app/MainWindowLayout.h"
#include "controls/SkinLibrary.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;
constexpr int kWaitMs = 30000; // a sanitizer build on a busy machine starts slowly
const QString kTitle = QStringLiteral("Didedeve  Lumenark");

QString run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(program, arguments);
  process.waitForFinished(kWaitMs);
  return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

// The skin as the layout puts it: the background with the buttons' pictures.
QImage expectedPicture() {
  QImage picture = SkinLibrary::image(layout::kBackgroundBitmap).convertToFormat(QImage::Format_RGB32);
  QPainter painter(&picture);
  for (const layout::Place& place : layout::kRuntimeLayout)
    for (const layout::ButtonSkin& skin : layout::kButtonSkins)
      if (skin.id == place.id)
        painter.drawPixmap(place.rect.topLeft(), SkinLibrary::pixmap(skin.normal));
  return picture;
}

// Where the skin alone decides the pixels: everywhere but the controls that
// draw text or their own picture. The map's page draws over its place once it
// has loaded, which may come before the first screenshot on a busy machine.
QRegion skinOnlyRegion() {
  QRegion region(0, 0, layout::kWindowWidth, layout::kWindowHeight);
  for (const layout::SliderSkin& slider : layout::kSliderSkins)
    region -= slider.rect;
  for (const layout::Place& place : layout::kTextPlaces)
    region -= place.rect;
  for (const layout::Place& place : layout::kRuntimeLayout)
    if (place.id == IDC_RECORDING_LIST || place.id == IDC_FOLDER_TEXT || place.id == IDC_MAP)
      region -= place.rect;
  return region;
}

double matchingShare(const QImage& shown, const QImage& expected, const QRegion& region) {
  long matching = 0;
  long total = 0;
  for (const QRect& rect : region)
    for (int y = rect.top(); y <= rect.bottom(); ++y)
      for (int x = rect.left(); x <= rect.right(); ++x) {
        ++total;
        matching += (shown.pixel(x, y) & 0xFFFFFF) == (expected.pixel(x, y) & 0xFFFFFF) ? 1 : 0;
      }
  return total ? double(matching) / double(total) : 0.0;
}

class LumenarkOnXvfb : public testing::Test {
protected:
  void SetUp() override {
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
      GTEST_SKIP() << "Xvfb is not installed";
    m_server = std::make_unique<XvfbSession>(kScreenWidth, kScreenHeight);
    ASSERT_TRUE(m_server->IsRunning());
    ASSERT_TRUE(m_workDir.isValid());
    m_program.setProcessEnvironment(m_server->Environment());
    m_program.setWorkingDirectory(m_workDir.path());
    m_program.start(QCoreApplication::applicationDirPath() + QStringLiteral("/lumenark"), {});
    ASSERT_TRUE(m_program.waitForStarted(kWaitMs));
  }

  void TearDown() override {
    m_program.kill();
    m_program.waitForFinished(kWaitMs);
  }

  // What the viewer said and whether it still runs, for a window that never came.
  std::string ProgramReport() {
    // The program's end and output are only taken in while QProcess waits.
    const bool running = !m_program.waitForFinished(1000) && m_program.state() == QProcess::Running;
    const QByteArray output = m_program.readAllStandardOutput() + m_program.readAllStandardError();
    return (running ? std::string("lumenark still running; output:\n")
                    : "lumenark ended with " + std::to_string(m_program.exitCode()) + "; output:\n") +
           output.right(4000).toStdString() + "\nX server " + m_server->Display().toStdString() + " said:\n" +
           m_server->Messages().right(2000).toStdString();
  }

  QString xdotool(const QStringList& arguments) {
    return run(QStringLiteral("xdotool"), arguments, m_server->Environment());
  }

  QString WaitForWindow() {
    QDeadlineTimer deadline(kWaitMs);
    QString id;
    while (id.isEmpty() && !deadline.hasExpired()) {
      id = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), kTitle})
               .section('\n', 0, 0);
      QThread::msleep(50);
    }
    return id;
  }

  QRect WindowGeometry(const QString& id) {
    const QString shell = xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id});
    const auto value = [&shell](const char* name) {
      return shell.section(QLatin1String(name) + QLatin1Char('='), 1).section('\n', 0, 0).toInt();
    };
    return QRect(value("X"), value("Y"), value("WIDTH"), value("HEIGHT"));
  }

  QImage Screenshot(const QString& file) {
    run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), file}, m_server->Environment());
    return QImage(file).convertToFormat(QImage::Format_RGB32);
  }

  std::unique_ptr<XvfbSession> m_server;
  QTemporaryDir m_workDir;
  QProcess m_program;
};

// Size and title as the window manager sees them, and the skin on the screen
// where the layout puts it.
TEST_F(LumenarkOnXvfb, OpensSkinnedWindowWithItsTitleAndSize) {
  const QString id = WaitForWindow();
  ASSERT_FALSE(id.isEmpty()) << "no window titled \"" << kTitle.toStdString() << "\"\n" << ProgramReport();
  EXPECT_EQ(xdotool({QStringLiteral("getwindowname"), id}), kTitle);
  const QRect frame = WindowGeometry(id);
  EXPECT_EQ(frame.size(), QSize(1010, 790));

  // The whole screen as taken, and the window cut out of it for review.
  QDir().mkpath(QStringLiteral(LUMENARK_SCREENSHOT_DIR));
  const QString screenFile = QStringLiteral(LUMENARK_SCREENSHOT_DIR "/lumenark-screen.png");
  const QString windowFile = QStringLiteral(LUMENARK_SCREENSHOT_DIR "/lumenark-main-window.png");
  const QImage expected = expectedPicture();
  const QRegion region = skinOnlyRegion();
  QImage window;
  double share = 0.0;
  QDeadlineTimer deadline(kWaitMs);
  while (share < 0.995 && !deadline.hasExpired()) {
    window = Screenshot(screenFile).copy(QRect(frame.topLeft(), QSize(layout::kWindowWidth, layout::kWindowHeight)));
    share = matchingShare(window, expected, region);
  }
  window.save(windowFile);
  EXPECT_GE(share, 0.995) << "screenshot: " << windowFile.toStdString();
  std::printf("screenshot: %s\n", qPrintable(windowFile));
}

} // namespace

// Grabbing the background and dragging moves the whole window.
TEST_F(LumenarkOnXvfb, DraggingTheBackgroundMovesTheWindow) {
  const QString id = WaitForWindow();
  ASSERT_FALSE(id.isEmpty()) << ProgramReport();
  const QRect before = WindowGeometry(id);
  const QPoint grab = before.topLeft() + QPoint(500, 12);
  const QPoint drop = grab + QPoint(-60, 40);
  const auto at = [](const QPoint& point) {
    return QStringList{QString::number(point.x()), QString::number(point.y())};
  };
  xdotool(QStringList{QStringLiteral("mousemove")} + at(grab));
  xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
  xdotool(QStringList{QStringLiteral("mousemove")} + at(grab + QPoint(-30, 20)));
  xdotool(QStringList{QStringLiteral("mousemove")} + at(drop));
  xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
  QDeadlineTimer deadline(kWaitMs);
  const QPoint expected = before.topLeft() + QPoint(-60, 40);
  QPoint after = WindowGeometry(id).topLeft();
  while (after != expected && !deadline.hasExpired())
    after = WindowGeometry(id).topLeft();
  EXPECT_EQ(after, expected);
}

namespace {

// Without any display the program must explain itself rather than abort.
TEST(LumenarkWithoutDisplay, SaysSoAndSuggestsAVirtualDisplay) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    environment.remove(QString::fromLatin1(name));
  QProcess program;
  program.setProcessEnvironment(environment);
  program.start(QCoreApplication::applicationDirPath() + QStringLiteral("/lumenark"), {});
  ASSERT_TRUE(program.waitForFinished(kWaitMs));
  EXPECT_EQ(program.exitCode(), 1);
  EXPECT_TRUE(program.readAllStandardError().contains("no display; try: xvfb-run -a make run"));
}

} // namespace
