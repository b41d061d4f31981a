// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The folder chosen last, kept between runs in "path.txt" in the user's
// configuration folder: the path's bytes alone, no line end, no terminator.
class RememberedFolder {
public:
  // Text beyond this many bytes is not read.
  static constexpr qint64 kMaxBytes = 259;

  static QString FilePath();
  // The remembered text as stored (a hand-written line end stays part of it),
  // up to the first zero byte; empty when there is no readable file.
  static QString Read();
  // Creates or replaces the file. A folder that cannot be written only means
  // that the choice is not remembered, so a failure is not reported.
  static void Write(const QString& folder);
};
