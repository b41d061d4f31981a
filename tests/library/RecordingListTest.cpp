// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/RecordingList.h"

#include "LibraryTestFiles.h"

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using library_test::native;
using library_test::writeFile;

class RecordingListTest : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(m_card.isValid()); }

  QString Folder(const QString& name) const { return native(m_card.filePath(name)); }
  void MakeFile(const QString& folder, const QString& name, qint64 bytes = 0) {
    QDir().mkpath(m_card.filePath(folder));
    QFile file(m_card.filePath(folder + "/" + name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(bytes));
  }
  void Scan(const QString& folder) {
    m_recordings.Clear();
    m_recordings.ScanRecordingFolder(Folder(folder));
  }
  QStringList Lines() const {
    QStringList lines;
    for (int row = 0; row < m_list.count(); ++row)
      lines << m_list.item(row)->text();
    return lines;
  }

  QTemporaryDir m_card;
  QListWidget m_list;
  QLabel m_label;
  RecordingList m_recordings{&m_list, &m_label};
};

// Other extensions, folders and letter case: only ".mp4" files in name order.
TEST_F(RecordingListTest, ListsMp4FilesInNameOrderWithSizeAndKind) {
  MakeFile("EventMovie", "drf0_b.MP4", 1048576);
  MakeFile("EventMovie", "drf0_a.mp4", 1023);
  MakeFile("EventMovie", "drf0_c.mp4x");
  MakeFile("EventMovie/drf0_d.mp4", "drf0_e.mp4");
  Scan("EventMovie");
  EXPECT_EQ(Lines(),
            QStringList({"drf0_a.mp4 |  00000KB  |   Event       ", "drf0_b.MP4 |  01024KB  |   Event       "}));
  EXPECT_EQ(m_label.text(), Folder("EventMovie") + QDir::separator());
  EXPECT_EQ(m_recordings.Recordings().size(), 2);
}

TEST_F(RecordingListTest, SizeFieldGrowsPastFiveDigitsAndOtherFoldersAreNormal) {
  MakeFile("NormalMovie", "drf0_big.mp4", 102400LL * 1024 * 1000);
  Scan("NormalMovie");
  EXPECT_EQ(Lines(), QStringList({"drf0_big.mp4 |  102400000KB  |  Normal      "}));
}

// The double click joins the label and a line's name: that must give back
// the file for every name a card or a user may hold.
TEST_F(RecordingListTest, EveryLineLeadsBackToItsFile) {
  const QStringList names = {"drf0_20260614_093200.mp4", "drf0_with space.mp4", "drf0_\"quoted\".mp4",
                             "drf0_back\\slash.mp4",     "drf0_Käte ✓.mp4",     "drf0_50%1 |  x.mp4"};
  for (const QString& name : names)
    MakeFile("card", name);
  Scan("card");
  ASSERT_EQ(m_list.count(), names.size());
  for (int row = 0; row < m_list.count(); ++row) {
    const QString path = m_recordings.PathOfLine(row);
    EXPECT_TRUE(QFileInfo::exists(path)) << path.toStdString();
    EXPECT_TRUE(m_list.item(row)->text().startsWith(QFileInfo(path).fileName() + " |")) << path.toStdString();
  }
}

// Without the name mark a line shows the whole path; the label comes from the
// first line only, and each line still leads to its own file.
TEST_F(RecordingListTest, NamesWithoutTheMarkShowTheirWholePath) {
  MakeFile("card", "a.mp4");
  MakeFile("card", "drf0_b.mp4");
  Scan("card");
  EXPECT_EQ(m_label.text(), QString());
  EXPECT_TRUE(m_list.item(0)->text().startsWith(Folder("card/a.mp4") + " |"));
  EXPECT_TRUE(m_list.item(1)->text().startsWith("drf0_b.mp4 |"));
  EXPECT_EQ(m_recordings.PathOfLine(1), Folder("card/drf0_b.mp4"));
}

TEST_F(RecordingListTest, MissingFolderListsNothingAndRescanDoesNotRepeat) {
  Scan("gone");
  EXPECT_EQ(m_list.count(), 0);
  MakeFile("card", "drf0_a.mp4");
  Scan("card");
  Scan("card");
  EXPECT_EQ(m_list.count(), 1);
  EXPECT_EQ(m_recordings.Recordings().size(), 1);
}

// A file gone between the search and the size is still listed, with size 0.
TEST_F(RecordingListTest, FileGoneBeforeItsSizeIsListedEmpty) {
  m_recordings.AddRecordingLine(Folder("card/drf0_gone.mp4"));
  EXPECT_EQ(Lines(), QStringList({"drf0_gone.mp4 |  00000KB  |  Normal      "}));
}

// A box: big-endian size, type, body.
QByteArray box(const char* type, const QByteArray& body) {
  const quint32 size = quint32(body.size() + 8);
  const char header[4] = {char(size >> 24), char(size >> 16), char(size >> 8), char(size)};
  return QByteArray(header, 4) + type + body;
}

// A recording whose index was never written keeps its line and shows another
// colour and why; a whole one and a file that is no video look as ever.
TEST_F(RecordingListTest, RecordingCutShortIsMarkedBesideItsLine) {
  const QByteArray head = box("ftyp", "isom");
  const struct {
    const char* name;
    QByteArray bytes;
    bool cutShort;
  } files[] = {
      {"drf0_a.mp4", head + box("mdat", "data") + box("moov", ""), false},
      {"drf0_b.mp4", head + QByteArray("\0\0\0\0mdat", 8) + "data", true},
      {"drf0_c.mp4", "no video", false},
  };
  for (const auto& file : files)
    ASSERT_TRUE(writeFile(m_card.filePath("card/") + file.name, file.bytes));
  Scan("card");
  ASSERT_EQ(m_list.count(), 3);
  const QBrush usual = m_list.item(0)->foreground();
  for (int row = 0; row < 3; ++row) {
    const QListWidgetItem* item = m_list.item(row);
    EXPECT_TRUE(item->text().startsWith(QString(files[row].name) + " |  00000KB  |  Normal")) << files[row].name;
    EXPECT_EQ(item->foreground() != usual, files[row].cutShort) << files[row].name;
    EXPECT_EQ(item->toolTip().contains("power loss"), files[row].cutShort) << files[row].name;
  }
}

TEST_F(RecordingListTest, LinesAreFifteenHighAndTheListScrollsToTheWidest) {
  MakeFile("card", "drf0_a.mp4");
  MakeFile("card", "drf0_" + QString(200, 'w') + ".mp4");
  Scan("card");
  const int widest = QFontMetrics(m_list.font()).horizontalAdvance(m_list.item(1)->text()) + 3;
  EXPECT_NEAR(m_recordings.HorizontalExtent(), widest, 2);
  EXPECT_EQ(m_list.item(0)->sizeHint().height(), RecordingList::kItemHeight);
  m_list.resize(200, 100);
  m_list.show();
  QCoreApplication::processEvents();
  EXPECT_GE(m_list.horizontalScrollBar()->maximum(), widest - 200);
}

} // namespace
