// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/RememberedFolder.h"

#include "LibraryTestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

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

// Hand-written files are taken as they are, up to 259 bytes.
TEST_F(RememberedFolderTest, ReadsStoredTextAsItIs) {
  struct Case {
    QByteArray stored;
    QString read;
  };
  const QByteArray longText(300, 'x');
  const Case cases[] = {
      {"", ""},
      {"/media/card\n", "/media/card\n"},
      {"/media/card\r\n", "/media/card\r\n"},
      {longText, QString(259, QLatin1Char('x'))},
      {QByteArray("/media\0/card", 12), "/media"},
      {"/no/such/folder", "/no/such/folder"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(writeFile(RememberedFolder::FilePath(), c.stored));
    EXPECT_EQ(RememberedFolder::Read(), c.read) << c.stored.toStdString();
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
