// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/EventNoteReader.h"

#include "library/LibraryGlobals.h"

#include <QDir>
#include <QFile>
#include <cstring>

namespace {

const QString kStampMark = QStringLiteral("drf0_");
constexpr int kStampLength = 15;
const QString kDateMark = QStringLiteral("Date :");
// Characters 13 to 18 of "evt_" + stamp + ".txt" are the event's time digits.
constexpr int kTimeDigitsAt = 13;
constexpr int kTimeDigits = 6;

QString withSeparator(const char* folder) { return QString::fromLatin1(folder) + QDir::separator(); }

void skipRestOfLine(QFile& file) {
  char c = 0;
  while (file.getChar(&c) && c != '\n') {
  }
}

} // namespace

bool EventNoteReader::Read(const QString& recordingPath, QStringList& notes) {
  const qsizetype rootEnd = recordingPath.indexOf(withSeparator("EventMovie"));
  const QString root = recordingPath.left(rootEnd);
  g_szEventFolder = root + withSeparator("Event");
  const qsizetype stampAt = recordingPath.indexOf(kStampMark);
  if (stampAt < 0)
    return false;
  const QString stamp = recordingPath.mid(stampAt + kStampMark.size(), kStampLength);
  const QDir folder(g_szEventFolder, QStringLiteral("*.txt"), QDir::Name, QDir::Files | QDir::Hidden);
  bool present = false;
  for (const QString& name : folder.entryList()) {
    if (!name.contains(stamp))
      continue;
    if (name.contains(QStringLiteral("evt_")) || name.contains(QStringLiteral("slt_")))
      NoteEventTime(name);
    present |= ReadDateLines(g_szEventFolder + name, notes);
  }
  return present;
}

void EventNoteReader::NoteEventTime(const QString& fileName) {
  if (fileName.size() < kTimeDigitsAt + kTimeDigits)
    return;
  const QByteArray digits = fileName.mid(kTimeDigitsAt, kTimeDigits).toLatin1();
  std::memcpy(g_szEventTime, digits.constData(), kTimeDigits);
  g_szEventTime[kTimeDigits] = '\0';
}

bool EventNoteReader::ReadDateLines(const QString& path, QStringList& notes) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
    return false;
  bool kept = false;
  while (!file.atEnd()) {
    QByteArray line = file.readLine(kMaxLineBytes + 1);
    if (!line.endsWith('\n'))
      skipRestOfLine(file);
    while (line.endsWith('\n') || line.endsWith('\r'))
      line.chop(1);
    const QString text = QString::fromUtf8(line);
    if (text.contains(kDateMark)) {
      notes.append(text);
      kept = true;
    }
  }
  return kept;
}
