// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/CDlgTimeSet.h"

#include "tests/support/ModalWatcher.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

const char kNoCard[] = "Please insert SD card to card reader equipment provided and connect with PC.";
const char kNoSetupIni[] = "Can not find /setup/vuviraru_rizor.ini \n\nYou should select directly next page that SD "
                           "card set up which driver in PC. ";
const char kNoDrive[] = "Please select PC driver connected to SD card.";
const char kCreated[] = "   \n System Time setup file Created. . ";
constexpr uint64_t kCardBytes = 8ull << 30;

TEST(CDlgTimeSet, TimeSetTextAtYearAndDayBoundaries) {
  const struct {
    QDateTime time;
    const char* text;
  } cases[] = {
      {QDateTime(QDate(2009, 3, 7), QTime(9, 5, 3)), "2009/03/07 09:05:03"},
      {QDateTime(QDate(2009, 12, 31), QTime(23, 59, 59)), "2009/12/31 23:59:59"},
      {QDateTime(QDate(2010, 1, 1), QTime(0, 0, 0)), "2010/01/01 00:00:00"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CDlgTimeSet::TimeSetText(c.time), QByteArray(c.text));
}

// The camera's own zone, found from its recordings, not the computer's.
TEST(CDlgTimeSet, CorrectedTimeIsUtcInTheCameraZone) {
  const QDateTime now(QDate(2026, 6, 14), QTime(23, 59, 30), Qt::UTC);
  const struct {
    int zoneMinutes;
    const char* text;
  } cases[] = {{0, "2026/06/14 23:59:30"}, {120, "2026/06/15 01:59:30"}, {-270, "2026/06/14 19:29:30"}};
  for (const auto& c : cases)
    EXPECT_EQ(CDlgTimeSet::CorrectedTimeText(now.toLocalTime(), c.zoneMinutes), QByteArray(c.text)) << c.zoneMinutes;
}

// Card readers as folders: a fixed disk, readers with a card, an empty reader.
class TimeSetDialog : public testing::Test {
protected:
  struct Reader {
    const char* name;
    bool removable;
    uint64_t bytes;
    bool setupIni;
  };

  std::string root(const char* name) const { return dir.filePath(QLatin1String(name)).toStdString() + "/"; }

  void open(std::initializer_list<Reader> readers) {
    for (const Reader& reader : readers) {
      QDir(dir.path()).mkpath(QString::fromLatin1(reader.name) + (reader.setupIni ? "/setup" : ""));
      if (reader.setupIni)
        QFile(QString::fromStdString(root(reader.name) + "setup/vuviraru_rizor.ini")).open(QIODevice::WriteOnly);
      volumes.push_back({root(reader.name), reader.removable, reader.bytes});
    }
    dialog.show();
  }

  QComboBox* driveBox() { return dialog.findChild<QComboBox*>(QString::number(CDlgTimeSet::IDC_DRIVE_BOX)); }
  QStringList boxEntries() {
    QStringList entries;
    for (int i = 0; i < driveBox()->count(); ++i)
      entries << driveBox()->itemText(i);
    return entries;
  }
  void create() { dialog.findChild<QPushButton*>(QString::number(CDlgTimeSet::IDC_CREATE))->click(); }
  QString writtenTime() { return dialog.findChild<QLabel*>(QString::number(CDlgTimeSet::IDC_WRITTEN_TIME))->text(); }
  QByteArray timeSetFile(const char* reader) {
    QFile file(QString::fromStdString(root(reader) + "usertimeset.txt"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  QTemporaryDir dir;
  std::vector<platform::Volume> volumes;
  ModalWatcher watcher;
  CDlgTimeSet dialog{nullptr, [this] { return volumes; }};
};

// The second of two cards carries the camera's settings: it is chosen and shown.
TEST_F(TimeSetDialog, CardWithSettingsFileIsChosen) {
  open({{"disk", false, 1, false}, {"card1", true, kCardBytes, false}, {"card2", true, kCardBytes, true}});
  EXPECT_EQ(dialog.SelectedCardDrive(), root("card2"));
  EXPECT_EQ(dialog.CardDriveList().size(), 2u);
  EXPECT_EQ(driveBox()->currentIndex(), 2);
  EXPECT_EQ(boxEntries(), QStringList({dir.filePath("disk"), dir.filePath("card1"), dir.filePath("card2")}));
  EXPECT_TRUE(watcher.Messages().isEmpty());
}

// Cards without the settings file: the user is told and nothing is chosen,
// so create asks for a drive and writes nothing.
TEST_F(TimeSetDialog, NoCardWithSettingsFile) {
  open({{"card1", true, kCardBytes, false}, {"card2", true, kCardBytes, false}});
  EXPECT_EQ(watcher.Messages(), QStringList{kNoSetupIni});
  EXPECT_EQ(dialog.SelectedCardDrive(), "");
  create();
  EXPECT_EQ(watcher.Messages().last(), QLatin1String(kNoDrive));
  EXPECT_TRUE(timeSetFile("card1").isEmpty() && timeSetFile("card2").isEmpty());
}

// No card at all: only the insert-a-card message; an empty reader is not listed.
TEST_F(TimeSetDialog, NoCardAndEmptyReader) {
  open({{"disk", false, 1, false}, {"reader", true, 0, false}});
  EXPECT_EQ(watcher.Messages(), QStringList{kNoCard});
  EXPECT_EQ(boxEntries(), QStringList{dir.filePath("disk")});
  EXPECT_TRUE(dialog.CardDriveList().empty());
  EXPECT_EQ(dialog.SelectedCardDrive(), "");
}

// Each press writes exactly the 19 characters of that moment, replacing a
// longer file completely, and reports success only after the write.
TEST_F(TimeSetDialog, CreateWritesNineteenCharactersEachPress) {
  open({{"card", true, kCardBytes, true}});
  QFile old(QString::fromStdString(root("card") + "usertimeset.txt"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("1999/01/01 00:00:00 and an older tail left behind");
  old.close();
  const QRegularExpression format(QStringLiteral("^\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}:\\d{2}$"));
  for (int press = 1; press <= 2; ++press) {
    create();
    const QByteArray written = timeSetFile("card");
    EXPECT_EQ(written.size(), 19);
    EXPECT_TRUE(format.match(QString::fromLatin1(written)).hasMatch()) << written.toStdString();
    EXPECT_EQ(writtenTime(), QString::fromLatin1(written));
    ASSERT_EQ(watcher.Messages().size(), press);
    EXPECT_TRUE(watcher.Messages().last().startsWith(kCreated));
  }
}

// Picking an entry selects that volume, a fixed one too.
TEST_F(TimeSetDialog, PickedDriveReceivesTheFile) {
  open({{"disk", false, 1, false}, {"card", true, kCardBytes, true}});
  emit driveBox()->activated(0);
  EXPECT_EQ(dialog.SelectedCardDrive(), root("disk"));
  create();
  EXPECT_EQ(timeSetFile("disk").size(), 19);
  EXPECT_TRUE(timeSetFile("card").isEmpty());
}

// A card pulled out before create: a clear message and no "Created".
TEST_F(TimeSetDialog, RemovedCardIsReported) {
  open({{"card", true, kCardBytes, true}});
  ASSERT_TRUE(QDir(QString::fromStdString(root("card"))).removeRecursively());
  create();
  ASSERT_EQ(watcher.Messages().size(), 1);
  EXPECT_TRUE(watcher.Messages()[0].startsWith("Could not write")) << watcher.Messages()[0].toStdString();
}

// A card that takes only part of the file (full): the reason is shown and no
// half-written time is left for the camera to read.
TEST_F(TimeSetDialog, CardThatFillsUpKeepsNoHalfFile) {
  open({{"card", true, kCardBytes, true}});
  struct rlimit previous {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
  const struct rlimit full = {5, previous.rlim_max};
  std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
  create();
  setrlimit(RLIMIT_FSIZE, &previous);
  ASSERT_EQ(watcher.Messages().size(), 1);
  EXPECT_TRUE(watcher.Messages()[0].contains("File too large")) << watcher.Messages()[0].toStdString();
  EXPECT_FALSE(QFile::exists(QString::fromStdString(root("card") + "usertimeset.txt")));
}

} // namespace
