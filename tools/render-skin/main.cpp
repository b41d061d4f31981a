// SPDX-License-Identifier: GPL-3.0-or-later
// render-skin DIR: the build's drawing of every skin picture at its own size
// and pixel ratios 1 and 2, as the raw pixels the viewer copies instead of
// drawing them at start (the skin library's drawnAheadName). Drawn by the
// skin library itself, so that they match what it draws at other ratios.

#include "controls/SkinLibrary.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

namespace {

bool writeDrawing(const QDir& dir, int id, int ratio) {
  const QImage image = SkinLibrary::image(id, ratio).convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QFile file(dir.filePath(SkinLibrary::drawnAheadName(id, ratio)));
  const auto* pixels = reinterpret_cast<const char*>(image.constBits());
  if (file.open(QIODevice::WriteOnly) && file.write(pixels, image.sizeInBytes()) == image.sizeInBytes())
    return true;
  std::fprintf(stderr, "render-skin: cannot write %s\n", qPrintable(file.fileName()));
  return false;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: render-skin DIR\n", stderr);
    return 2;
  }
  // The skin's texts need fonts, and fonts an application; no display is needed.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication application(argc, argv);
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  if (!dir.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "render-skin: cannot make %s\n", argv[1]);
    return 1;
  }
  for (int id : SkinLibrary::ids()) {
    for (int ratio : {1, 2}) {
      if (!writeDrawing(dir, id, ratio))
        return 1;
    }
  }
  return 0;
}
