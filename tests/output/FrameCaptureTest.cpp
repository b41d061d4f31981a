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
#include <optional>
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
  void report(const std::vector<uint8_t>& image, int32_t bytes) {
    adap.m_pFrame1 = image.data();
    adap.m_nFrameBytes = bytes;
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

  adap.m_pFrame1 = nullptr;
  adap.m_nFrameBytes = 0;
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

// A tmpfs of its own on a folder while it lives.
class TmpfsMount {
public:
  TmpfsMount(const QByteArray& folder, const char* options)
      : m_folder(folder), m_mounted(mount("tmpfs", folder.constData(), "tmpfs", 0, options) == 0) {}
  ~TmpfsMount() {
    if (m_mounted)
      umount2(m_folder.constData(), MNT_DETACH);
  }
  bool Mounted() const { return m_mounted; }

private:
  QByteArray m_folder;
  bool m_mounted;
};

// What makes writing in a folder fail, and undoes it; the disk cases mount a
// tmpfs of their own on the folder first.
struct WriteFailure {
  const char* what;
  const char* tmpfs; // mount options, or null for the folder as it is
  std::function<void(const QByteArray& folder)> arm;
  std::function<void(const QByteArray& folder)> disarm;
  QString says; // %1: the file's name, %2: the folder
};

// Each failed write says why, in words naming the folder where the user can
// act on it; an earlier file of that name survives and nothing partial is
// left behind.
TEST_F(SavedFile, WriteFailuresSayWhyAndLeaveNothingPartial) {
  rlimit savedLimit{};
  getrlimit(RLIMIT_FSIZE, &savedLimit);
  const WriteFailure failures[] = {
      {"file size limit", nullptr,
       [&](const QByteArray&) {
         std::signal(SIGXFSZ, SIG_IGN);
         rlimit small = savedLimit;
         small.rlim_cur = 100000;
         setrlimit(RLIMIT_FSIZE, &small);
       },
       [&](const QByteArray&) {
         setrlimit(RLIMIT_FSIZE, &savedLimit);
         std::signal(SIGXFSZ, SIG_DFL);
       },
       "Could not save the picture as %1:\n" + QString::fromLocal8Bit(std::strerror(EFBIG))},
      {"no permission", nullptr,
       [](const QByteArray& folder) {
         chmod(folder.constData(), 0555);
         if (geteuid() == 0) { // root may write anywhere
           ASSERT_EQ(seteuid(kNobody), 0);
         }
       },
       [](const QByteArray& folder) {
         if (getuid() == 0) {
           ASSERT_EQ(seteuid(0), 0);
         }
         chmod(folder.constData(), 0755);
       },
       "No permission to write in the folder: cannot save %1 in %2"},
      {"full disk", "size=64k", [](const QByteArray&) {}, [](const QByteArray&) {},
       "The disk is full: cannot save %1 in %2"},
      {"read-only disk", "size=2m",
       [](const QByteArray& folder) {
         ASSERT_EQ(mount("tmpfs", folder.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=2m"), 0);
       },
       [](const QByteArray&) {}, "The disk is read-only: cannot save %1 in %2"},
  };
  const QString name = QStringLiteral("CAP2010-01-01_0-0-0.bmp");
  for (const WriteFailure& failure : failures) {
    const QString folder = path(failure.what);
    const QByteArray folderName = QFile::encodeName(folder);
    ASSERT_TRUE(QDir().mkpath(folder));
    std::optional<TmpfsMount> disk;
    if (failure.tmpfs && !disk.emplace(folderName, failure.tmpfs).Mounted())
      GTEST_SKIP() << "mounting a tmpfs is not permitted here, so no real full or read-only disk";
    QFile earlier(folder + "/" + name);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") == 7);
    earlier.close();

    failure.arm(folderName);
    const QString said = FrameCapture::SaveBitmapFile(bitmap, folder + "/" + name);
    failure.disarm(folderName);

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
