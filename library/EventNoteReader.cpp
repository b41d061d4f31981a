// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/EventNoteReader.h"

#include "engine/PlaybackValues.h"
#include "library/FileHead.h"
#include "library/LibraryGlobals.h"
#include "platform/Diagnostics.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstring>

namespace {

const QString kStampMark = QStringLiteral("drf0_");
constexpr int kStampLength = 15;
const QByteArray kDateMark = QByteArrayLiteral("Date :");
// Characters 13 to 18 of "evt_" + stamp + ".txt" are the event's time digits.
constexpr int kTimeDigitsAt = 13;
constexpr int kTimeDigits = 6;

QString withSeparator(const char* folder) { return QString::fromLatin1(folder) + QDir::separator(); }

// What the bounds left out of one file.
struct LeftOut {
  qint64 readBytes = 0;
  qint64 fileBytes = 0;
  int cutNotes = 0;
  int droppedNotes = 0;
};

// The line of `text` that starts at `from`: its length without line-end
// characters, and where the next line starts.
struct Line {
  qsizetype length = 0;
  qsizetype next = 0;
};

Line lineAt(const QByteArray& text, qsizetype from, qsizetype end) {
  const qsizetype newline = text.indexOf('\n', from);
  Line line{(newline < 0 ? end : newline) - from, 0};
  line.next = from + line.length + 1;
  while (line.length > 0 && text[from + line.length - 1] == '\r')
    --line.length;
  return line;
}

void tell(const QString& path, const LeftOut& leftOut) {
  QStringList parts;
  if (leftOut.readBytes < leftOut.fileBytes)
    parts << QStringLiteral("read the first %1 of %2 bytes").arg(leftOut.readBytes).arg(leftOut.fileBytes);
  if (leftOut.cutNotes > 0)
    parts << QStringLiteral("cut %1 lines to %2 bytes").arg(leftOut.cutNotes).arg(EventNoteReader::kMaxLineBytes);
  if (leftOut.droppedNotes > 0)
    parts << QStringLiteral("left out %1 \"Date :\" lines beyond %2 per recording")
                 .arg(leftOut.droppedNotes)
                 .arg(EventNoteReader::kMaxNotes);
  if (!parts.isEmpty())
    platform::diagnostic("event notes: %s: %s\n", QFile::encodeName(path).constData(),
                         parts.join(QStringLiteral(", ")).toUtf8().constData());
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
  const qsizetype limit = notes.size() + kMaxNotes;
  bool present = false;
  for (const QString& name : folder.entryList()) {
    if (!name.contains(stamp))
      continue;
    if (name.contains(QStringLiteral("evt_")) || name.contains(QStringLiteral("slt_")))
      NoteEventTime(name);
    present |= ReadDateLines(g_szEventFolder + name, notes, limit);
  }
  return present;
}

void EventNoteReader::NoteEventTime(const QString& fileName) {
  if (fileName.size() < kTimeDigitsAt + kTimeDigits)
    return;
  const QByteArray digits = fileName.mid(kTimeDigitsAt, kTimeDigits).toLatin1();
  std::memcpy(g_Playback.szEventTime, digits.constData(), kTimeDigits);
  g_Playback.szEventTime[kTimeDigits] = '\0';
}

// Appends the file's "Date :" lines while `notes` holds fewer than `limit`.
bool EventNoteReader::ReadDateLines(const QString& path, QStringList& notes, qsizetype limit) {
  const std::optional<FileHead> head = FileHead::Read(path, kMaxFileBytes);
  if (!head)
    return false;
  const QByteArray& text = head->bytes;
  // A file read in part ends in a line cut short, whose time would be wrong.
  const qsizetype end = head->IsWhole() ? text.size() : text.lastIndexOf('\n') + 1;
  LeftOut leftOut{text.size(), head->size};
  bool kept = false;
  for (qsizetype from = 0; from < end;) {
    const Line at = lineAt(text, from, end);
    const QByteArray line = text.mid(from, std::min(at.length, qsizetype(kMaxLineBytes)));
    from = at.next;
    if (!line.contains(kDateMark))
      continue;
    if (notes.size() >= limit) {
      ++leftOut.droppedNotes;
      continue;
    }
    leftOut.cutNotes += at.length > kMaxLineBytes;
    notes.append(QString::fromUtf8(line));
    kept = true;
  }
  tell(path, leftOut);
  return kept;
}
