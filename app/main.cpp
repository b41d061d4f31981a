// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CQIRA02App.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

bool displayAvailable() {
  return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") || std::getenv("QT_QPA_PLATFORM");
}

// `lumenark [FOLDER]`: the folder as an absolute path in the platform's form,
// empty when none was given; nothing when the command line is not usable.
std::optional<QString> startFolder(const QStringList& arguments) {
  if (arguments.size() > 2 || (arguments.size() == 2 && arguments[1].startsWith(QLatin1Char('-')))) {
    std::fprintf(stderr, "usage: lumenark [FOLDER]\n");
    return std::nullopt;
  }
  if (arguments.size() < 2)
    return QString();
  const QFileInfo folder(arguments[1]);
  if (!folder.isDir()) {
    std::fprintf(stderr, "lumenark: no such folder: %s\n", qPrintable(arguments[1]));
    return QString();
  }
  return QDir::toNativeSeparators(QDir::cleanPath(folder.absoluteFilePath()));
}

} // namespace

int main(int argc, char** argv) {
  if (!displayAvailable()) {
    std::fprintf(stderr, "lumenark: no display; try: xvfb-run -a make run\n");
    return 1;
  }
  // The map's web view shares the window's graphics context.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  // QApplication took the user's locale for the C library too; numbers in
  // command texts and files must keep their point (and libmpv will not start
  // otherwise). Qt still shows the user's locale.
  std::setlocale(LC_NUMERIC, "C");
  const std::optional<QString> folder = startFolder(QApplication::arguments());
  if (!folder)
    return 2;
  CQIRA02App app;
  app.m_strStartFolder = *folder;
  app.InitInstance();
  return 0;
}
