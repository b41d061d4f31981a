// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/RememberedFolder.h"

#include "LibraryTestFiles.h"
#include "library/FolderBrowser.h"

#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using library_test::readFile;
using library_test::writeFile;

class RememberedFolderTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
  }

  QTemporaryDir m_config;
};

TEST_F(RememberedFolderTest, FirstRunHasNoFolderAndAWriteStoresExactlyThePath) {
  EXPECT_EQ(RememberedFolder::Read(), QString());
  const QString folder = QStringLiteral("/media/card/Käte's \"cam\" \\ 1/EventMovie");
  RememberedFolder::Write(folder);
  EXPECT_EQ(readFile(RememberedFolder::FilePath()), QFile::encodeName(folder));
  EXPECT_EQ(RememberedFolder::Read(), folder);
}

// The Open button's dialog starts on the remembered folder only when
// path.txt names one that exists; anything else starts it in the home folder,
// and a FIFO under the name must not hold up the window.
TEST_F(RememberedFolderTest, DialogStartsOnAnExistingRememberedFolderOrHome) {
  const QString good = m_config.filePath("card/EventMovie");
  ASSERT_TRUE(QDir().mkpath(good));
  const QString path = RememberedFolder::FilePath();
  const auto store = [&](const QByteArray& bytes) { return [&, bytes] { return writeFile(path, bytes); }; };
  const struct {
    const char* what;
    std::function<bool()> make;
    QString start;
  } cases[] = {
      {"good folder", store(QFile::encodeName(good)), good},
      {"missing folder", store(QFile::encodeName(m_config.filePath("gone"))), QDir::homePath()},
      {"binary bytes", store(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)), QDir::homePath()},
      {"100 kB line", store("/" + QByteArray(100000, 'A')), QDir::homePath()},
      {"FIFO", [&] { return mkfifo(QFile::encodeName(path).constData(), 0600) == 0; }, QDir::homePath()},
      {"directory", [&] { return QDir().mkpath(path); }, QDir::homePath()},
  };
  for (const auto& c : cases) {
    QFile::remove(path);
    QDir().rmdir(path);
    ASSERT_TRUE(c.make()) << c.what;
    QString shown;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
      if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
        shown = dialog->directory().absolutePath();
        dialog->reject();
      }
    });
    watcher.start(5);
    EXPECT_EQ(FolderBrowser().Browse(nullptr, "Select directory", RememberedFolder::Read()), std::nullopt) << c.what;
    EXPECT_EQ(shown.toStdString(), c.start.toStdString()) << c.what;
  }
}

// A configuration folder that cannot be made: the choice is just not kept.
TEST_F(RememberedFolderTest, UnwritableConfigurationFolderIsSilent) {
  ASSERT_TRUE(writeFile(m_config.filePath("file"), "x"));
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.filePath("file/config")));
  RememberedFolder::Write(QStringLiteral("/media/card"));
  EXPECT_EQ(RememberedFolder::Read(), QString());
}

} // namespace
