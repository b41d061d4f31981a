// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The camera's notes on an event recording: the "Date :" lines of the text
// files in the card's "Event" folder whose names hold the recording's stamp.
//
// A camera writes a few short lines per event. The bounds below keep a
// damaged or foreign file from holding up the window or filling the memory;
// what they leave out is told in one diagnostic line per file.
class EventNoteReader {
public:
  // Only the start of each file is read: a thousand times what a camera writes.
  static constexpr qint64 kMaxFileBytes = 64 * 1024;
  // A longer line is kept only up to this many bytes.
  static constexpr qint64 kMaxLineBytes = 4096;
  // Notes kept per recording: the timeline is 666 pixels wide, so more marks
  // than this only cover one another.
  static constexpr qsizetype kMaxNotes = 256;

  // Appends the notes of the recording at `recordingPath` (inside the card's
  // "EventMovie" folder) to `notes`, files in name order, lines in file
  // order; sets g_szEventFolder and, for "evt_"/"slt_" names, g_Playback.szEventTime.
  // True when a line was kept.
  static bool Read(const QString& recordingPath, QStringList& notes);

private:
  static bool ReadDateLines(const QString& path, QStringList& notes, qsizetype limit);
  static void NoteEventTime(const QString& fileName);
};
