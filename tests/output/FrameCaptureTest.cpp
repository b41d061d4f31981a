// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/FrameCapture.h"

#include "OutputChecks.h"
#include "engine/QIRAAdap.h"
#include "tests/support/ModalWatcher.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr uid_t kNobody = 65534;

// Guards the name's fixed pattern: two-digit month and day, the rest without zeros.
TEST(FrameCapture, FileNameFromTheLocalTime) {
  const struct {
    QDateTime time;
    const char* name;
  } cases[] = {
      {QDateTime(QDate(2009, 3, 7), QTime(9, 5, 3)), "CAP2009-03-07_9-5-3.bmp"},
      {QDateTime(QDate(2009, 12, 31), QTime(23, 59, 59)), "CAP2009-12-31_23-59-59.bmp"},
      {QDateTime(QDate(2010, 1, 1), QTime(0, 0, 0)), "CAP2010-01-01_0-0-0.bmp"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FrameCapture::FileName(c.time), QLatin1String(c.name));
}

class FrameCopy : public testing::Test {
protected:
  // An engine image: blue, green, red, unused per pixel, top row first.
  std::vector<uint8_t> engineImage() {
    const QImage picture = output_checks::quarters(FrameCapture::kWidth, FrameCapture::kHeight);
    return std::vector<uint8_t>(picture.constBits(), picture.constBits() + picture.sizeInBytes());
  }
  // The engine learns its last picture from the player library's frame report.
  void report(const std::vector<uint8_t>& image, int32_t bytes) {
    player::FrameReport frame{};
    frame.frame1 = image.empty() ? nullptr : image.data();
    frame.frameBytes = bytes;
    adap.HandleEvent(reinterpret_cast<intptr_t>(&frame), player::kEventFrame);
  }
  QObject window;
  QIRAAdap adap{&window};
  FrameCapture capture;
};

// Guards the copy against the engine's image changing after the snapshot.
TEST_F(FrameCopy, TheCopyIsTheImageAtThatMoment) {
  std::vector<uint8_t> image = engineImage();
  report(image, FrameCapture::kBitmapBytes);
  capture.CopyFrame(adap);
  std::fill(image.begin(), image.end(), 0xFF);
  const QImage bitmap = capture.Bitmap();
  EXPECT_EQ(bitmap, output_checks::quarters(FrameCapture::kWidth, FrameCapture::kHeight));
}

// A short image fills the top rows and leaves the rest black; no image, or a
// count that is negative or past the bitmap, never reads or allocates beyond it.
TEST_F(FrameCopy, ShortMissingAndOversizedImages) {
  std::vector<uint8_t> image = engineImage();
  report(image, FrameCapture::kBitmapBytes / 2);
  capture.CopyFrame(adap);
  QImage bitmap = capture.Bitmap();
  EXPECT_EQ(bitmap.pixelColor(0, 0), output_checks::kTopLeft);
  EXPECT_EQ(bitmap.pixelColor(639, 479), QColor(Qt::black));

  report(image, -5);
  capture.CopyFrame(adap);
  EXPECT_EQ(capture.FrameBytes(), 0);

  std::vector<uint8_t> large(FrameCapture::kBitmapBytes + 4096, 0x40);
  report(large, int32_t(large.size()));
  capture.CopyFrame(adap);
  EXPECT_EQ(capture.FrameBytes(), FrameCapture::kBitmapBytes);
  EXPECT_EQ(capture.Bitmap().pixelColor(639, 479), QColor(0x40, 0x40, 0x40));

  report({}, 0);
  capture.CopyFrame(adap);
  EXPECT_FALSE(capture.Bitmap().isNull());
}

class SavedFile : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
  QByteArray contents(const QString& file) const {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
  }
  QTemporaryDir dir;
  QImage bitmap = output_checks::quarters(FrameCapture::kWidth, FrameCapture::kHeight);
};

// Two snapshots in one second share a name: the second replaces the first whole.
TEST_F(SavedFile, SameNameIsReplaced) {
  const QString name = path("CAP2009-03-07_9-5-3.bmp");
  ASSERT_EQ(
      FrameCapture::SaveBitmapFile(QImage(FrameCapture::kWidth, FrameCapture::kHeight, QImage::Format_RGB32), name),
      QString());
  ASSERT_EQ(FrameCapture::SaveBitmapFile(bitmap, name), QString());
  EXPECT_EQ(QImage(name, "bmp"), bitmap);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

// Each failed write says why, in words naming the folder where the user can
// act on it; an earlier file of that name survives and nothing partial is
// left behind. The disk cases mount a tmpfs of their own on the folder.
TEST_F(SavedFile, WriteFailuresSayWhyAndLeaveNothingPartial) {
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const rlimit small{100000, saved.rlim_max};
  std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails with EFBIG instead of ending the run
  using Step = std::function<void(const char* folder)>;
  const Step nothing = [](const char*) {};
  const struct {
    const char* what;
    const char* tmpfs; // mount options, or null for the folder as it is
    Step arm, disarm;
    QString says; // %1: the file's name, %2: the folder
  } failures[] = {
      {"file size limit", nullptr, [&](const char*) { setrlimit(RLIMIT_FSIZE, &small); },
       [&](const char*) { setrlimit(RLIMIT_FSIZE, &saved); },
       "Could not save the picture as %1:\n" + QString::fromLocal8Bit(std::strerror(EFBIG))},
      {"no permission", nullptr,
       [](const char* folder) {
         chmod(folder, 0555);
         if (getuid() == 0) // root may write anywhere: it writes as nobody
           seteuid(kNobody);
       },
       [](const char*) { seteuid(getuid()); }, "No permission to write in the folder: cannot save %1 in %2"},
      {"full disk", "size=64k", nothing, nothing, "The disk is full: cannot save %1 in %2"},
      {"read-only disk", "size=2m",
       [](const char* folder) { mount("tmpfs", folder, "tmpfs", MS_REMOUNT | MS_RDONLY, "size=2m"); }, nothing,
       "The disk is read-only: cannot save %1 in %2"},
  };
  const QString name = QStringLiteral("CAP2010-01-01_0-0-0.bmp");
  for (const auto& failure : failures) {
    const QString folder = path(failure.what);
    const QByteArray folderName = QFile::encodeName(folder);
    ASSERT_TRUE(QDir().mkpath(folder));
    if (failure.tmpfs && mount("tmpfs", folderName.constData(), "tmpfs", 0, failure.tmpfs) != 0)
      GTEST_SKIP() << "mounting a tmpfs is not permitted here, so no real full or read-only disk";
    const std::shared_ptr<void> unmount(nullptr, [&](void*) {
      if (failure.tmpfs)
        umount2(folderName.constData(), MNT_DETACH);
    });
    QFile earlier(folder + "/" + name);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") == 7);
    earlier.close();

    failure.arm(folderName.constData());
    const QString said = FrameCapture::SaveBitmapFile(bitmap, folder + "/" + name);
    failure.disarm(folderName.constData());

    EXPECT_EQ(said.toStdString(), QString(failure.says).arg(name, folder).toStdString()) << failure.what;
    EXPECT_EQ(contents(earlier.fileName()), QByteArray("earlier")) << failure.what;
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{name}) << failure.what;
  }
}

// The user hears of a failed write; a folder that is gone is one.
TEST_F(SavedFile, FailureIsShownToTheUser) {
  const QString saved = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.path()));
  ASSERT_TRUE(QDir(dir.path()).mkdir("gone"));
  ASSERT_TRUE(QDir::setCurrent(path("gone")));
  ASSERT_TRUE(QDir(dir.path()).rmdir("gone"));
  ModalWatcher watcher;
  FrameCapture capture;
  capture.CaptureFrame(nullptr);
  QDir::setCurrent(saved);
  ASSERT_EQ(watcher.Messages().size(), 1);
  EXPECT_TRUE(watcher.Messages()[0].startsWith("Could not save the picture as CAP"))
      << watcher.Messages()[0].toStdString();
}

} // namespace
