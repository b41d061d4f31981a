// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/RememberedFolder.h"

#include "library/FileHead.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>

QString RememberedFolder::FilePath() {
  return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/path.txt");
}

QString RememberedFolder::Read() {
  const std::optional<FileHead> head = FileHead::Read(FilePath(), kMaxBytes);
  if (!head || head->size > kMaxBytes || head->bytes.contains('\0'))
    return QString();
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = utf8.decode(head->bytes);
  return utf8.hasError() ? QString() : text;
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
