// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/MapTiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const char kDefaultAddress[] = "https://tile.openstreetmap.org/{z}/{x}/{y}.png";
const char kDefaultAttribution[] = "\u00a9 OpenStreetMap contributors";
const char kFileName[] = "map-tiles.txt";
constexpr qint64 kMaxLineBytes = 4096;

// A line of at most a few kilobytes: the file is the user's, its size unknown.
std::string readLine(QFile& file) { return QString::fromUtf8(file.readLine(kMaxLineBytes)).trimmed().toStdString(); }

} // namespace

MapTiles MapTiles::FromConfiguration() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  QFile file(QDir(folder).filePath(QString::fromLatin1(kFileName)));
  // Only a regular file: opening a pipe of that name would wait for a writer.
  if (folder.isEmpty() || !QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
    return {kDefaultAddress, kDefaultAttribution};
  MapTiles tiles;
  tiles.address = readLine(file);
  tiles.attribution = readLine(file);
  return tiles;
}
