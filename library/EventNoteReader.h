// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The camera's notes on an event recording: the "Date :" lines of the text
// files in the card's "Event" folder whose names hold the recording's stamp.
class EventNoteReader {
public:
  // A longer line is kept only up to this many bytes; the rest is skipped,
  // so a file without line ends cannot fill the memory.
  static constexpr qint64 kMaxLineBytes = 4096;

  // Appends the notes of the recording at `recordingPath` (inside the card's
  // "EventMovie" folder) to `notes`, files in name order, lines in file
  // order; sets g_szEventFolder and, for "evt_"/"slt_" names, g_szEventTime.
  // True when a line was kept.
  static bool Read(const QString& recordingPath, QStringList& notes);

private:
  static bool ReadDateLines(const QString& path, QStringList& notes);
  static void NoteEventTime(const QString& fileName);
};
