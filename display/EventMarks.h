// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <optional>
#include <string>
#include <vector>

// The camera's events as small marks above the timeline, placed by their
// time after the recording's start.
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

  void Draw(QImage& canvas, const std::vector<std::string>& notes, const std::string& baseTime, int duration) const;

private:
  QImage m_mark;
};
