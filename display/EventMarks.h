// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <optional>
#include <string>
#include <vector>

// The camera's events as small marks above the timeline, placed by their
// time after the recording's start. The notes are read into offsets once
// when a recording opens; a frame only puts marks on the canvas when they are
// not there yet, so its work does not grow with the notes.
class EventMarks {
public:
  explicit EventMarks(QImage mark);

  // Seconds of a "hh:mm:ss" text that ends the line (trailing line-end
  // characters and blanks ignored); none for a shorter line or one without
  // digits in the time's places.
  static std::optional<int> SecondsAtEnd(const std::string& line);
  // Each note's seconds after the base time "hhmmss..." in order; none for a
  // note or a base time that holds no time.
  static std::vector<int> Offsets(const std::vector<std::string>& notes, const std::string& baseTime);
  // The marks' left edges for a recording of `duration` seconds; marks left
  // of x 51 and events past the end are left out.
  static std::vector<int> MarkLefts(const std::vector<int>& offsets, int duration);

  // The open recording's notes and its base time.
  void SetNotes(const std::vector<std::string>& notes, const std::string& baseTime);
  // Puts the notes' marks for a recording of `duration` seconds on the
  // canvas, unless they are there since the last Forget(); true when drawn.
  bool Draw(QImage& canvas, int duration);
  // The timeline was cleared: the next Draw puts the marks back.
  void Forget() { m_drawnFor = 0; }

  // Marks copied to a canvas since the notes were set.
  int CopiedMarks() const { return m_copied; }

private:
  QImage m_mark;
  std::vector<int> m_offsets;
  int m_drawnFor = 0; // the duration whose marks are on the canvas, 0 for none
  int m_copied = 0;
};
