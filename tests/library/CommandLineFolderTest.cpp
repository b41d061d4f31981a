// SPDX-License-Identifier: GPL-3.0-or-later
// `lumenark [FOLDER]` started the way a user starts it.
#include "LibraryTestFiles.h"
#include "platform/ModulePath.h"
#include "tests/support/MessageRecorder.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using library_test::readFile;

QString program(const char* name) { return QString::fromStdString(platform::executableDir()) + '/' + name; }
QString viewer() { return program("lumenark"); }

// A folder named relative to the working folder is listed and remembered as
// the absolute path a folder browser would give.
TEST(CommandLineFolder, RelativeFolderIsRememberedAbsolute) {
  QTemporaryDir card;
  ASSERT_TRUE(card.isValid() && QDir(card.path()).mkpath("EventMovie/sub"));
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_CONFIG_HOME", card.filePath("config"));
  process.setProcessEnvironment(environment);
  process.setWorkingDirectory(card.path());
  process.start(viewer(), {"EventMovie/sub/.."});
  ASSERT_TRUE(process.waitForStarted());
  const QString remembered = card.filePath("config/lumenark/path.txt");
  EXPECT_TRUE(testing_support::waitUntil([&] { return QFile::exists(remembered); }, 30000));
  process.kill();
  process.waitForFinished();
  EXPECT_EQ(readFile(remembered), QFile::encodeName(QDir::toNativeSeparators(card.filePath("EventMovie"))));
}

// `lumenark RECORDING.mp4` lists the recording's folder, remembers it and
// plays the recording with the real player module.
TEST(CommandLineFolder, RecordingIsOpenedAndPlayed) {
  QTemporaryDir card;
  QProcess maker;
  maker.start(program("make-sample-card"), {"--card", card.path(), "--normal", "1", "--event", "0", "--seconds", "2"});
  ASSERT_TRUE(maker.waitForFinished(120000) && maker.exitCode() == 0);
  const QString recording = card.filePath("NormalMovie/drf0_20260614_093200.mp4");
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_CONFIG_HOME", card.filePath("config"));
  process.setProcessEnvironment(environment);
  process.start(viewer(), {recording});
  ASSERT_TRUE(process.waitForStarted());
  QByteArray output;
  const bool played = testing_support::waitUntil(
      [&] {
        output += process.readAllStandardOutput();
        return output.contains("State transition : from 9 to 1\n");
      },
      60000);
  process.kill();
  process.waitForFinished();
  EXPECT_TRUE(played) << output.toStdString();
  EXPECT_EQ(readFile(card.filePath("config/lumenark/path.txt")),
            QFile::encodeName(QDir::toNativeSeparators(card.filePath("NormalMovie"))));
}

TEST(CommandLineFolder, MoreThanOneFolderIsAUsageError) {
  QProcess process;
  process.start(viewer(), {"a", "b"});
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_EQ(process.exitCode(), 2);
  EXPECT_TRUE(process.readAllStandardError().contains("usage: lumenark [FOLDER | RECORDING.mp4]"));
}

} // namespace
