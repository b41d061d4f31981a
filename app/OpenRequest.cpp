// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/OpenRequest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace {

QString nativeAbsolute(const QString& path) { return QDir::toNativeSeparators(QDir::cleanPath(path)); }

bool isRecordingName(const QFileInfo& file) {
  return file.suffix().compare(QLatin1String("mp4"), Qt::CaseInsensitive) == 0;
}

// Readable the way the viewer reads it: a folder listed, a file opened.
bool isReadable(const QFileInfo& entry) {
  if (entry.isDir())
    return QDir(entry.absoluteFilePath()).isReadable();
  QFile file(entry.absoluteFilePath());
  return file.open(QIODevice::ReadOnly);
}

} // namespace

OpenRequest OpenRequest::FromPath(const QString& path) {
  const QFileInfo entry(path);
  if (!entry.exists())
    return Refused(QStringLiteral("\"%1\" does not exist.").arg(path));
  if (!entry.isDir() && !(entry.isFile() && isRecordingName(entry)))
    return Refused(QStringLiteral("\"%1\" is neither a folder nor an MP4 recording.").arg(path));
  if (!isReadable(entry))
    return Refused(QStringLiteral("\"%1\" cannot be read.").arg(path));
  OpenRequest request;
  if (entry.isDir()) {
    request.m_strFolder = nativeAbsolute(entry.absoluteFilePath());
  } else {
    request.m_strFolder = nativeAbsolute(entry.absolutePath());
    request.m_strRecording = nativeAbsolute(entry.absoluteFilePath());
  }
  return request;
}

OpenRequest OpenRequest::FromMimeData(const QMimeData& data) {
  const QList<QUrl> urls = data.urls();
  if (urls.size() > 1)
    return Refused(QStringLiteral("Drop one folder or one recording at a time."));
  if (urls.isEmpty() || !urls.front().isLocalFile())
    return Refused(QStringLiteral("Only a folder or an MP4 recording on this computer can be opened."));
  return FromPath(urls.front().toLocalFile());
}

OpenRequest OpenRequest::Refused(const QString& why) {
  OpenRequest request;
  request.m_strRefusal = why;
  return request;
}
