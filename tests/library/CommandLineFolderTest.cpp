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

QString viewer() { return QString::fromStdString(platform::executableDir()) + "/lumenark"; }

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

TEST(CommandLineFolder, MoreThanOneFolderIsAUsageError) {
  QProcess process;
  process.start(viewer(), {"a", "b"});
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_EQ(process.exitCode(), 2);
  EXPECT_TRUE(process.readAllStandardError().contains("usage: lumenark [FOLDER]"));
}

} // namespace
