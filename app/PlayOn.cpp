// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PlayOn.h"

#include "app/SettingsFile.h"
#include "drives/IndexCache.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QtConcurrent/QtConcurrentRun>

namespace {

const QString kPlayOnKey = QStringLiteral("playOnIntoTheNextRecording");

} // namespace

PlayOn::PlayOn() {
  m_bEnabled = QSettings(SettingsFile::Path(), QSettings::IniFormat).value(kPlayOnKey, true).toBool();
  connect(&m_watcher, &QFutureWatcher<CardIndex::Result>::finished, this, [this] {
    CardIndex::Result result = m_watcher.result();
    if (result.complete)
      m_drives.emplace(std::move(result.recordings));
  });
}

// A card index still being read is told to stop; its thread ends on its own.
PlayOn::~PlayOn() { StopIndex(); }

void PlayOn::SetEnabled(bool enabled) {
  m_bEnabled = enabled;
  QSettings(SettingsFile::Path(), QSettings::IniFormat).setValue(kPlayOnKey, enabled);
}

void PlayOn::StopIndex() {
  m_cancel = true;
  m_watcher.waitForFinished();
  m_cancel = false;
}

void PlayOn::IndexCard(const QString& listedFolder, const HarshSettings& harsh) {
  StopIndex();
  m_drives.reset();
  CardIndex::Options options;
  options.cacheFolder = IndexCache::DefaultFolder();
  options.cancel = &m_cancel;
  options.harsh = harsh;
  const std::string card = QFile::encodeName(CardRoot(listedFolder)).toStdString();
  m_watcher.setFuture(QtConcurrent::run([card, options] { return CardIndex::ReadCard(card, options); }));
}

QString PlayOn::NextRecording(const QString& path) const {
  if (!m_bEnabled || !m_drives)
    return QString();
  const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  return QFile::decodeName(
      QByteArray::fromStdString(m_drives->NextRecording(QFile::encodeName(absolute).toStdString())));
}

QString PlayOn::CardRoot(const QString& listedFolder) {
  const QDir folder(listedFolder);
  const QString name = folder.dirName();
  const bool recordingFolder = name.compare(QLatin1String("NormalMovie"), Qt::CaseInsensitive) == 0 ||
                               name.compare(QLatin1String("EventMovie"), Qt::CaseInsensitive) == 0;
  return recordingFolder ? QDir::cleanPath(folder.absoluteFilePath(QStringLiteral(".."))) : folder.absolutePath();
}
