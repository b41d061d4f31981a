// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/MapTiles.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// Guards the user's tile file: read when it is a file, and the standard tiles
// for anything else under its name (a pipe would hold the window for good).
TEST(MapTiles, UsesOnlyARegularFile) {
  const struct {
    const char* what;
    void (*make)(const QString& path);
    std::string address;
  } cases[] = {
      {"no file", [](const QString&) {}, "https://tile.openstreetmap.org/{z}/{x}/{y}.png"},
      {"a pipe", [](const QString& path) { mkfifo(QFile::encodeName(path).constData(), 0600); },
       "https://tile.openstreetmap.org/{z}/{x}/{y}.png"},
      {"a folder", [](const QString& path) { QDir().mkpath(path); }, "https://tile.openstreetmap.org/{z}/{x}/{y}.png"},
      {"a file",
       [](const QString& path) {
         QFile file(path);
         file.open(QIODevice::WriteOnly);
         file.write("https://tiles.example/{z}/{x}/{y}.png\nExample maps\n");
       },
       "https://tiles.example/{z}/{x}/{y}.png"},
  };
  for (const auto& c : cases) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(folder);
    c.make(QDir(folder).filePath("map-tiles.txt"));
    EXPECT_EQ(MapTiles::FromConfiguration().address, c.address) << c.what;
  }
}

} // namespace
