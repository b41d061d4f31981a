// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The folder chosen last, kept between runs in "path.txt" in the user's
// configuration folder: the path's bytes alone, no line end, no terminator.
class RememberedFolder {
public:
  // The longest path the system takes (PATH_MAX); a longer file holds no path.
  static constexpr qint64 kMaxBytes = 4096;

  static QString FilePath();
  // The remembered text as stored (a hand-written line end stays part of it);
  // empty when the file is missing, not a regular file, longer than
  // kMaxBytes, or holds a zero byte or text that is not UTF-8. Whether the
  // folder still exists is the browser's to check.
  static QString Read();
  // Creates or replaces the file. A folder that cannot be written only means
  // that the choice is not remembered, so a failure is not reported.
  static void Write(const QString& folder);
};
