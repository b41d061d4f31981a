// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The viewer's choices kept between runs: "settings.ini" beside the
// remembered folder, read and written with QSettings.
class SettingsFile {
public:
  static QString Path();
};
