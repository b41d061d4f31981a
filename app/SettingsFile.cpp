// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SettingsFile.h"

#include <QStandardPaths>

QString SettingsFile::Path() {
  return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/settings.ini");
}
