// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/RememberedFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

QString RememberedFolder::FilePath() {
  return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/path.txt");
}

QString RememberedFolder::Read() {
  QFile file(FilePath());
  if (!file.open(QIODevice::ReadOnly))
    return QString();
  QByteArray text = file.read(kMaxBytes);
  const qsizetype zero = text.indexOf('\0');
  if (zero >= 0)
    text.truncate(zero);
  return QFile::decodeName(text);
}

// Written through a temporary file, so a failed write keeps the folder
// remembered before.
void RememberedFolder::Write(const QString& folder) {
  const QString path = FilePath();
  if (!QDir().mkpath(QFileInfo(path).absolutePath()))
    return;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return;
  file.write(QFile::encodeName(folder));
  file.commit();
}
