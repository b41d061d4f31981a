// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/EventNoteReader.h"

#include "LibraryTestFiles.h"
#include "engine/PlaybackValues.h"
#include "library/LibraryGlobals.h"
#include "tests/support/DiagnosticRecorder.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

namespace {

using library_test::native;
using library_test::writeFile;

const char kStamp[] = "20260614_093200";

class EventNoteReaderTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_card.isValid());
    std::strcpy(g_Playback.szEventTime, "111111");
  }

  QString Recording() const { return native(m_card.filePath(QStringLiteral("EventMovie/drf0_%1.mp4").arg(kStamp))); }
  void WriteNote(const QString& name, const QByteArray& text) {
    ASSERT_TRUE(writeFile(m_card.filePath("Event/" + name), text));
  }
  bool Read() { return EventNoteReader::Read(Recording(), m_notes); }
  std::string Path(const QString& name) const { return native(m_card.filePath("Event/" + name)).toStdString(); }

  QTemporaryDir m_card;
  QStringList m_notes;
};

// Line ends and bytes that no camera writes still give the plain lines.
TEST_F(EventNoteReaderTest, KeepsTheDateLinesOfAnyTextFile) {
  struct Case {
    QByteArray text;
    QStringList notes;
  };
  const Case cases[] = {
      {"Type : G-sensor\nDate : 2026/06/14 09:32:42\n", {"Date : 2026/06/14 09:32:42"}},
      {"Type : G-sensor\r\nDate : 2026/06/14 09:32:42\r\n", {"Date : 2026/06/14 09:32:42"}},
      {"Date : a\nDate : b", {"Date : a", "Date : b"}},
      {QByteArray("\xff\xfe\0x Date : 1\n", 14), {QString::fromUtf8(QByteArray("\xff\xfe\0x Date : 1", 13))}},
      {"Type : G-sensor\n", {}},
      {"", {}},
  };
  for (const Case& c : cases) {
    m_notes.clear();
    WriteNote(QStringLiteral("evt_%1.txt").arg(kStamp), c.text);
    EXPECT_EQ(Read(), !c.notes.isEmpty()) << c.text.toStdString();
    EXPECT_EQ(m_notes, c.notes) << c.text.toStdString();
  }
  EXPECT_STREQ(g_Playback.szEventTime, "093200");
  EXPECT_EQ(g_szEventFolder, native(m_card.path() + "/Event/"));
}

// A file without line ends must neither fill the memory nor hide the next line.
TEST_F(EventNoteReaderTest, LongLinesAreCut) {
  const QByteArray longDate = "Date : " + QByteArray(10000, '9');
  WriteNote(QStringLiteral("evt_%1.txt").arg(kStamp), QByteArray(10000, 'x') + "\n" + longDate + "\nDate : end\n");
  EXPECT_TRUE(Read());
  ASSERT_EQ(m_notes.size(), 2);
  EXPECT_EQ(m_notes[0], QString::fromLatin1(longDate.left(EventNoteReader::kMaxLineBytes)));
  EXPECT_EQ(m_notes[1], QStringLiteral("Date : end"));
}

// Note files of any size are read only at their start and give a bounded
// number of notes at once; each file tells what it left out in one line.
TEST_F(EventNoteReaderTest, LargeNoteFilesAreReadInBoundedParts) {
  const QByteArray date = "Date : 2026/06/14 09:32:31\n";
  const QString slt = QStringLiteral("slt_%1.txt").arg(kStamp);
  const QByteArray large = date.repeated((50 << 20) / date.size());
  const struct {
    std::vector<std::pair<QString, QByteArray>> files;
    std::string diagnostics;
  } cases[] = {
      {{{slt, large}},
       "event notes: " + Path(slt) + ": read the first 65536 of " + std::to_string(large.size()) +
           " bytes, left out 2171 \"Date :\" lines beyond 256 per recording\n"},
      {{{QStringLiteral("evt_%1.txt").arg(kStamp), date.repeated(200)}, {slt, date.repeated(200)}},
       "event notes: " + Path(slt) + ": left out 144 \"Date :\" lines beyond 256 per recording\n"},
  };
  for (const auto& c : cases) {
    QDir(m_card.filePath("Event")).removeRecursively();
    for (const auto& [name, text] : c.files)
      WriteNote(name, text);
    m_notes.clear();
    testing_support::DiagnosticRecorder diagnostics;
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(Read());
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_EQ(m_notes.size(), EventNoteReader::kMaxNotes);
    EXPECT_EQ(diagnostics.text(), c.diagnostics);
  }
}

TEST_F(EventNoteReaderTest, TwoFilesForOneStampGiveBothInNameOrder) {
  WriteNote(QStringLiteral("slt_%1.txt").arg(kStamp), "Date : second\n");
  WriteNote(QStringLiteral("evt_%1.txt").arg(kStamp), "Date : first\n");
  WriteNote(QStringLiteral("evt_20260614_093300.txt"), "Date : other recording\n");
  WriteNote(QStringLiteral("%1.txt").arg(kStamp), "Date : plain\n");
  EXPECT_TRUE(Read());
  EXPECT_EQ(m_notes, QStringList({"Date : plain", "Date : first", "Date : second"}));
  EXPECT_STREQ(g_Playback.szEventTime, "093200");
}

TEST_F(EventNoteReaderTest, NoEventFolderOrNoMatchGivesNoNotes) {
  EXPECT_FALSE(Read());
  WriteNote(QStringLiteral("evt_20260614_093300.txt"), "Date : other\n");
  EXPECT_FALSE(Read());
  EXPECT_TRUE(m_notes.isEmpty());
  EXPECT_STREQ(g_Playback.szEventTime, "111111");
}

} // namespace
